// FOLDOC (dict-foldoc) as encyclopedia articles. A definition of the dictd
// file is one article: its first line is the title, the lines up to the first
// blank line name it again (abbreviations, other spellings), and the body is
// indented text: paragraphs wrapped at about 65 columns, code and tables
// indented further, subjects in angle brackets at a paragraph's start
// ("<programming>"), cross references in braces and the date of the last
// change last.
#pragma once

#include <string>
#include <vector>

#include "library/dictd_file.h"
#include "library/linked_text.h"

namespace builder::library {

struct FoldocArticle {
  std::string title;                  // Windows-1252, 1 to 254 bytes
  std::vector<std::string> names;     // the title and the other headwords that lead to the article
  std::vector<std::string> subjects;  // in order of first appearance
  // Paragraphs (one line each, subjects taken out) and indented blocks (their
  // lines kept, indentation relative to the body's).
  struct Block {
    std::string text;
    bool indented = false;
    std::vector<std::string> subjects;  // the paragraph's own, shown where they stood
    std::size_t subjectsAt = 0;         // after a sense number ("2. ")
  };
  std::vector<Block> blocks;
};

std::vector<FoldocArticle> ParseFoldoc(const DictdDictionary& dictionary);

// One definition, its index headwords aside (exposed for the tests).
FoldocArticle ParseFoldocDefinition(const std::string& utf8);

// The article's tagged text after its title line: blocks separated by a blank
// line, subjects in italics, references resolved.
std::string FoldocBody(const FoldocArticle& article, const ResolveFn& resolve);

// The reference targets of the article's text, in order.
std::vector<std::string> FoldocTargets(const FoldocArticle& article);

}  // namespace builder::library
