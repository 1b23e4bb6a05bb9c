// A word list for the index tests: common English words, their inflected
// forms, and words with capitals (names, acronyms, mixed case).
#pragma once

#include <string>
#include <vector>

// About four thousand distinct words, deterministic.
std::vector<std::string> TestWordList();
// The base words alone (a few hundred common words).
const std::vector<std::string>& BaseWords();
