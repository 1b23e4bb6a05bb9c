// The library's quizzes, made from its own entries. English: which term a
// definition belongs to (FOLDOC's articles by subject, GCIDE's senses by the
// field they are marked with), the term taken out of the definition, the
// wrong answers other terms of the same subject, the term's entry the clue.
// French: the English translation of a French word (FreeDict), the wrong
// answers translations of other words of the same part of speech, the
// dictionary entry of the translation the clue. Every choice follows a hash
// of the words, so the same packages make the same questions.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "library/foldoc.h"
#include "library/freedict.h"
#include "library/gcide.h"
#include "quiz/quiz_writer.h"

namespace builder::library {

// One question that may be asked: its text with the answer taken out, the
// answer, the answers that would be right too (other names of the same
// entry) and the clue.
struct QuizItem {
  std::string category;
  std::string text;
  std::string answer;
  std::vector<std::string> alsoRight;
  std::uint32_t clue = 0;
};

// Whether two answers are too alike to stand side by side, or a word gives
// an answer away: the same letters and digits (case, accents, blanks and
// punctuation aside), or one the start of the other, or five letters or
// more alike at their start ("cache", "caching").
bool Alike(const std::string& a, const std::string& b);

// The definition with every name of its term taken out ("..."), cut to a
// sentence or two of at most 400 bytes; none when it is too short to ask,
// when what is left still names the term or a word alike to one of its
// words, or spells it out in initials.
std::optional<std::string> DefinitionWithoutTerm(const std::string& definition, const std::vector<std::string>& names);

// Up to `perCategory` questions of each category, in the given order, each
// with four answers (fewer when the category has fewer terms): its own and
// three of the same category that are not alike to each other, to it or to
// any word of the question's text. No answer is the right one of two
// questions. `categories`: the names the file shows, by the items' category.
quiz::Quiz MakeQuiz(const std::vector<QuizItem>& items, const std::vector<std::string>& order,
                    const std::map<std::string, std::string>& names, std::size_t perCategory);

struct QuizFigures {
  std::map<std::string, std::size_t> perCategory;  // by the name the file shows
  std::size_t questions = 0;
};

// The English quiz: FOLDOC's twelve largest subjects and GCIDE's ten
// largest fields, twenty questions each. Entries: of each article and entry.
quiz::Quiz MakeEnglishQuiz(const std::vector<FoldocArticle>& foldoc, const std::vector<std::uint32_t>& foldocEntries,
                           const std::vector<GcideEntry>& gcide, const std::vector<std::uint32_t>& gcideEntries,
                           QuizFigures* figures);

// The French quiz: nouns, verbs, adjectives and adverbs of FreeDict's
// French-English dictionary, eighty questions each. `englishEntry`: the
// main-database entry of an English word, 0 none.
quiz::Quiz MakeFrenchQuiz(const std::vector<Translation>& translations,
                          const std::function<std::uint32_t(const std::string& word)>& englishEntry,
                          QuizFigures* figures);

}  // namespace builder::library
