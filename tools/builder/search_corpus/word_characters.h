// The character classes that the word rules of a search read, over
// Windows-1252 text, as the engine's character table gives them for every
// database kind that has one: separators end the words a query reads;
// letters and digits are what word boundaries look at; an upper-case letter
// folds to lower case by adding 32.
#pragma once

namespace builder::search_corpus {

bool IsSeparator(unsigned char c);
bool IsLetter(unsigned char c);
bool IsDigit(unsigned char c);
bool IsUpper(unsigned char c);
inline bool IsLetterOrDigit(unsigned char c) { return IsLetter(c) || IsDigit(c); }

}  // namespace builder::search_corpus
