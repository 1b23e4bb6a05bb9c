#include "search_corpus/word_characters.h"

#include <array>

namespace builder::search_corpus {

bool IsSeparator(unsigned char c) {
  static const std::array<bool, 256> kSeparators = [] {
    constexpr unsigned char kRanges[][2] = {{0, 0},     {9, 13},    {32, 34},   {39, 41},   {44, 47},
                                            {58, 60},   {62, 63},   {91, 91},   {93, 93},   {96, 96},
                                            {123, 123}, {125, 125}, {133, 133}, {145, 148}, {150, 151},
                                            {161, 161}, {171, 171}, {187, 187}, {191, 191}};
    std::array<bool, 256> table{};
    for (const auto& range : kRanges)
      for (unsigned c = range[0]; c <= range[1]; ++c) table[c] = true;
    return table;
  }();
  return kSeparators[c];
}

bool IsLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 159 || c == 170 || c == 186 || c >= 192;
}

bool IsDigit(unsigned char c) { return (c >= '0' && c <= '9') || c == 185 || (c >= 188 && c <= 190); }

bool IsUpper(unsigned char c) { return (c >= 'A' && c <= 'Z') || c == 159 || (c >= 192 && c <= 222); }

}  // namespace builder::search_corpus
