#include "display/text_copy.h"

namespace display {

namespace {

struct Spelling {
  unsigned char first, last;
  const char* text;
};

// Codes 32 to 255 of the phonetic font (Windows-1252 bytes).
constexpr Spelling kSpellings[] = {
    {32, 32, " "},      {33, 41, "|"},      {42, 42, " "},      {43, 43, "o"},      {44, 44, "s"},
    {45, 45, "C"},      {46, 46, "D"},      {47, 47, "L"},      {48, 48, "M"},      {49, 49, "V"},
    {50, 50, "X"},      {51, 51, "s"},      {52, 52, "n"},      {53, 53, "="},      {54, 54, " "},
    {55, 55, "I"},      {56, 56, "C"},      {57, 60, " "},      {61, 61, "\xBA"},   {62, 63, " "},
    {64, 64, "i"},      {65, 65, "A"},      {66, 66, "\xDF"},   {67, 67, "X"},      {68, 68, "D"},
    {69, 69, "E"},      {70, 70, "F"},      {71, 71, "G"},      {72, 72, "H"},      {73, 73, "I"},
    {74, 74, "J"},      {75, 75, "K"},      {76, 76, "L"},      {77, 77, "M"},      {78, 78, "N"},
    {79, 79, "O"},      {80, 80, "P"},      {81, 81, "th"},     {82, 82, "R"},      {83, 83, "S"},
    {84, 84, "T"},      {85, 85, "U"},      {86, 86, "S"},      {87, 87, "O"},      {88, 88, "ks"},
    {89, 89, "ps"},     {90, 90, "Z"},      {91, 92, " "},      {93, 93, "b"},      {94, 94, "#"},
    {95, 95, " "},      {96, 96, "'"},      {97, 97, "a"},      {98, 98, "b"},      {99, 99, "x"},
    {100, 100, "d"},    {101, 101, "e"},    {102, 102, "f"},    {103, 103, "g"},    {104, 104, "n"},
    {105, 105, "i"},    {106, 106, "ps"},   {107, 107, "k"},    {108, 108, "l"},    {109, 109, "\xB5"},
    {110, 110, "n"},    {111, 111, "o"},    {112, 112, "p"},    {113, 113, "th"},   {114, 114, "r"},
    {115, 115, "s"},    {116, 116, "t"},    {117, 117, "u"},    {118, 119, "w"},    {120, 120, "z"},
    {121, 121, "ps"},   {122, 122, "z"},    {123, 123, "{"},    {124, 124, "|"},    {125, 125, "}"},
    {126, 126, "e"},    {127, 128, " "},    {129, 129, "th"},   {130, 130, "uh"},   {131, 132, " "},
    {133, 133, "uh"},   {134, 134, "a"},    {135, 135, "e"},    {136, 136, "^"},    {137, 137, " "},
    {138, 138, "s"},    {139, 139, "u"},    {140, 140, "\x9C"}, {141, 143, "a"},    {144, 144, " "},
    {145, 145, "kh"},   {146, 146, "N"},    {147, 148, "'"},    {149, 151, "r"},    {152, 152, "~"},
    {153, 153, "Rx"},   {154, 154, "d"},    {155, 155, "oo"},   {156, 156, "\x9C"}, {157, 157, "a"},
    {158, 158, " "},    {159, 159, "_"},    {160, 160, "p"},    {161, 161, "h"},    {162, 162, "H"},
    {163, 165, "ah"},   {166, 167, "l"},    {168, 168, "\xA8"}, {169, 169, "m"},    {170, 171, "g"},
    {172, 174, "m"},    {175, 175, "\xAF"}, {176, 176, "z"},    {177, 177, "k"},    {178, 178, "\xE6"},
    {179, 179, "ay"},   {180, 180, "'"},    {181, 181, "eh"},   {182, 182, "ee"},   {183, 183, "\x95"},
    {184, 184, "'"},    {185, 185, "ih"},   {186, 186, "eye"},  {187, 187, "g"},    {188, 188, "o"},
    {189, 189, "oh"},   {190, 190, "uh"},   {191, 191, "yoo"},  {192, 193, "a"},    {194, 194, "Ay"},
    {195, 195, "d"},    {196, 196, "ih"},   {197, 197, "c"},    {198, 198, "\xE6"}, {199, 199, "s"},
    {200, 200, "e"},    {201, 203, "g"},    {204, 205, "s"},    {206, 206, "\x9A"}, {207, 207, "s"},
    {208, 208, "r"},    {209, 210, "o"},    {211, 211, "ah"},   {212, 212, "o"},    {213, 213, "ng"},
    {214, 214, "e"},    {215, 215, "eh"},   {216, 216, "oh"},   {217, 217, "T"},    {218, 219, "t"},
    {220, 221, "z"},    {222, 222, "Eye"},  {223, 223, "s"},    {224, 227, "a"},    {228, 229, "c"},
    {230, 230, "\xE6"}, {231, 231, "k"},    {232, 235, "e"},    {236, 238, "i"},    {239, 239, "\xEF"},
    {240, 240, "i"},    {241, 244, "n"},    {245, 245, "'"},    {246, 247, "n"},    {248, 252, "u"},
    {253, 253, "v"},    {254, 254, "y"},    {255, 255, "+"},
};

// Appends one text run: CR LF for each line break before it (its leading
// newlines, and the line it starts unless nothing precedes it in its block),
// then its text or, for a phonetic run, the spelling of its first character.
void AppendRun(const TextModel& model, int r, bool blockStart, std::string& out) {
  const Run& run = model.GetRun(r);
  const int newlines = model.LeadingNewlines(r);
  const bool startsLine = (run.tokenBits & kTokenNewLine) != 0 && !blockStart;
  for (int i = 0; i < newlines + (startsLine ? 1 : 0); ++i) out += "\r\n";
  const char* text = model.RunText(r) + newlines;
  const int length = run.length - newlines;
  if (run.style == kStylePhonetic) {
    if (length > 0) out += PhoneticSpelling(static_cast<unsigned char>(text[0]));
  } else {
    out.append(text, static_cast<std::size_t>(length));
  }
}

}  // namespace

const char* PhoneticSpelling(unsigned char c) {
  for (const Spelling& s : kSpellings) {
    if (c >= s.first && c <= s.last) return s.text;
  }
  return "";
}

std::string CopyAll(const TextModel& model) {
  std::string out;
  for (int r = 0; r < model.RunCount(); ++r) {
    if (model.GetRun(r).style > 127) continue;
    AppendRun(model, r, out.empty(), out);
  }
  return out;
}

std::string CopySelection(const TextModel& model) {
  std::string out;
  bool inBlock = false;
  bool blockEmpty = true;
  for (int r = 0; r < model.RunCount(); ++r) {
    const Run& run = model.GetRun(r);
    if (!(run.marks & kMarkSelected)) {
      inBlock = false;
      continue;
    }
    if (!inBlock) blockEmpty = true;
    inBlock = true;
    if (run.style > 127) continue;
    if (blockEmpty && !out.empty()) out += "\r\n\r\n";
    AppendRun(model, r, blockEmpty, out);
    blockEmpty = false;
  }
  return out;
}

}  // namespace display
