#include "library/gcide_characters.h"

#include <cctype>
#include <map>
#include <string_view>

namespace builder::library {

namespace {

// Codes whose text is fixed.
const std::map<std::string, std::string, std::less<>>& Named() {
  static const std::map<std::string, std::string, std::less<>> named = {
      {"ae", "\xE6"},         {"AE", "\xC6"},       {"=ae", "\xE6"},
      {"oe", "\x9C"},         {"OE", "\x8C"},       {",c", "\xE7"},
      {",C", "\xC7"},         {"~n", "\xF1"},       {"~N", "\xD1"},
      {"deg", "\xB0"},        {"sect", "\xA7"},     {"thorn", "\xFE"},
      {"eth", "\xF0"},        {"yogh", "gh"},       {"ng", "n"},
      {"th", "th"},           {"imac", "i"},        {"aum", "\xE4"},
      {"add", "a"},           {"asl", "a"},         {"udd", "u"},
      {"=oo", "oo"},          {"oo^", "oo"},        {"root", "root "},
      {"dsdot", "d"},         {"zdot", "z"},        {"bprime", "\""},
      {"prime", "'"},         {"bar", "|"},         {"pounds", "\xA3"},
      {"middot", "\xB7"},     {"times", "\xD7"},    {"divby", "\xF7"},
      {"div", "\xF7"},        {"dagger", "\x86"},   {"dag", "\x86"},
      {"para", "\xB6"},       {"nbsp", " "},        {"ldqo", "\x93"},
      {"rdqo", "\x94"},       {"rsquo", "\x92"},    {"lsquo", "\x91"},
      {"flat", "b"},          {"sharp", "#"},       {"frac12", "\xBD"},
      {"frac14", "\xBC"},     {"frac34", "\xBE"},   {"frac13", "1/3"},
      {"frac23", "2/3"},      {"frac18", "1/8"},    {"cuberoot", "cube root "},
      {"rarr", "->"},         {"sec", "\""},        {"min", "'"},
      {"schwa", "e"},         {"asper", "'"},       {"ffllig", "ffl"},
      {"fllig", "fl"},        {"filig", "fi"},      {"umlaut", "\xA8"},
      {"hand", "->"},         {"alpha", "alpha"},   {"beta", "beta"},
      {"gamma", "gamma"},     {"delta", "delta"},   {"epsilon", "epsilon"},
      {"zeta", "zeta"},       {"eta", "eta"},       {"theta", "theta"},
      {"iota", "iota"},       {"kappa", "kappa"},   {"lambda", "lambda"},
      {"mu", "mu"},           {"nu", "nu"},         {"xi", "xi"},
      {"omicron", "omicron"}, {"pi", "pi"},         {"rho", "rho"},
      {"sigma", "sigma"},     {"sigmat", "sigma"},  {"tau", "tau"},
      {"upsilon", "upsilon"}, {"phi", "phi"},       {"chi", "chi"},
      {"psi", "psi"},         {"omega", "omega"},   {"Gamma", "Gamma"},
      {"Delta", "Delta"},     {"Lambda", "Lambda"}, {"Upsilon", "Upsilon"},
      {"digamma", "digamma"},
  };
  return named;
}

// Vowels with an accent the code page has: acute, grave, circumflex,
// diaeresis, tilde, in the order of "aeiouAEIOU" (0: none).
struct Accents {
  char vowel;
  unsigned char acute, grave, circumflex, diaeresis, tilde;
};
constexpr Accents kAccents[] = {
    {'a', 0xE1, 0xE0, 0xE2, 0xE4, 0xE3}, {'e', 0xE9, 0xE8, 0xEA, 0xEB, 0}, {'i', 0xED, 0xEC, 0xEE, 0xEF, 0},
    {'o', 0xF3, 0xF2, 0xF4, 0xF6, 0xF5}, {'u', 0xFA, 0xF9, 0xFB, 0xFC, 0}, {'y', 0xFD, 0, 0, 0, 0},
    {'A', 0xC1, 0xC0, 0xC2, 0xC4, 0xC3}, {'E', 0xC9, 0xC8, 0xCA, 0xCB, 0}, {'I', 0xCD, 0xCC, 0xCE, 0xCF, 0},
    {'O', 0xD3, 0xD2, 0xD4, 0xD6, 0xD5}, {'U', 0xDA, 0xD9, 0xDB, 0xDC, 0}, {'Y', 0xDD, 0, 0, 0x9F, 0},
};

// The text of a code, or false when the code is not one of GCIDE's.
bool CodeText(std::string_view code, std::string* text) {
  const auto named = Named().find(code);
  if (named != Named().end()) {
    *text = named->second;
    return true;
  }
  if (code.size() != 2) return false;
  // A mark before the letter: ' ` ^ " ~ (accents), = . - * (plain letter).
  // A mark after it: ^ (breve), ~, = (plain letter).
  for (const Accents& a : kAccents) {
    if (code[1] == a.vowel) {
      unsigned char c = 0;
      switch (code[0]) {
        case '\'': c = a.acute; break;
        case '`': c = a.grave; break;
        case '^': c = a.circumflex; break;
        case '"': c = a.diaeresis; break;
        case '~': c = a.tilde; break;
        case '=':
        case '.':
        case '-':
        case '*': break;
        default: return false;
      }
      *text = std::string(1, c ? static_cast<char>(c) : a.vowel);
      return true;
    }
    if (code[0] == a.vowel && (code[1] == '^' || code[1] == '~' || code[1] == '=')) {
      *text = std::string(1, a.vowel);
      return true;
    }
  }
  // A consonant with a dot or a mark: its plain letter.
  if ((code[0] == '.' || code[0] == '-') && std::isalpha(static_cast<unsigned char>(code[1]))) {
    *text = std::string(1, code[1]);
    return true;
  }
  return false;
}

// Sounds of a pronunciation and the phonetic font's characters for them
// (the characters whose spelling, as the reader copies them, is the sound).
const std::map<std::string, unsigned char, std::less<>>& PhoneticCodes() {
  static const std::map<std::string, unsigned char, std::less<>> codes = {
      {"a^", 'a'}, {"=a", 179}, {".a", 130}, {"aum", 163}, {"add", 'a'}, {"asl", 'a'}, {"^a", 'a'},  {"~a", 'a'},
      {"'a", 'a'}, {"e^", 'e'}, {"=e", 182}, {"~e", 181},  {"-e", 'e'},  {"\"e", 'e'}, {"i^", 'i'},  {"imac", 186},
      {"-i", 'i'}, {"'i", 'i'}, {"o^", 'o'}, {"=o", 189},  {"-o", 'o'},  {"^o", 'o'},  {"\"o", 'o'}, {"u^", 190},
      {"=u", 191}, {"-u", 'u'}, {"^u", 190}, {".u", 'u'},  {"udd", 'u'}, {"\"u", 'u'}, {"=oo", 155}, {"oo^", 139},
      {"y^", 'i'}, {"=y", 186}, {"ng", 213}, {"th", 129},  {"ae", 178},  {"oe", 156},
  };
  return codes;
}

unsigned char PhoneticLetter(char c) {
  switch (c) {
    case 'a':
    case 'b':
    case 'd':
    case 'e':
    case 'f':
    case 'g':
    case 'i':
    case 'k':
    case 'l':
    case 'n':
    case 'o':
    case 'p':
    case 'r':
    case 's':
    case 't':
    case 'u':
    case 'z': return static_cast<unsigned char>(c);
    case 'c':
    case 'q': return 'k';
    case 'h': return 161;
    case 'j': return 'J';
    case 'm': return 169;
    case 'v': return 253;
    case 'w': return 'w';
    case 'x': return 'X';
    case 'y': return 254;
    default: return 0;
  }
}

// The entry text escapes printable ASCII characters only: a phonetic
// character above them is written as its plain text.
std::string Escape(unsigned char c, const std::string& plain) {
  if (c < 33 || c > 126) return plain;
  return std::string("<{") + static_cast<char>(c) + "}>";
}

}  // namespace

std::string GcideToWindows1252(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] == '[') {
      const std::size_t close = text.find(']', at + 1);
      std::string replaced;
      if (close != std::string::npos && close - at <= 10 &&
          CodeText(std::string_view(text).substr(at + 1, close - at - 1), &replaced)) {
        out += replaced;
        at = close + 1;
        continue;
      }
    }
    out += text[at++];
  }
  return out;
}

std::string GcidePronunciation(const std::string& pronunciation) {
  std::string out;
  for (std::size_t at = 0; at < pronunciation.size();) {
    const char c = pronunciation[at];
    if (c == '[') {
      const std::size_t close = pronunciation.find(']', at + 1);
      if (close != std::string::npos) {
        const std::string_view code = std::string_view(pronunciation).substr(at + 1, close - at - 1);
        const auto found = PhoneticCodes().find(code);
        std::string text;
        const bool known = CodeText(code, &text);
        if (found != PhoneticCodes().end()) {
          out += Escape(found->second, text);
        } else if (known) {
          for (char t : text) {
            const unsigned char letter = PhoneticLetter(static_cast<char>(std::tolower(static_cast<unsigned char>(t))));
            out += letter ? Escape(letter, std::string(1, t)) : std::string(1, t);
          }
        }
        at = close + 1;
        continue;
      }
    }
    ++at;
    if (c == '*') {
      out += '-';
    } else if (c == '"') {
      out += Escape('`', "'");
    } else if (c == '`') {
      out += Escape(147, "'");
    } else if (c == '<') {
      out += "<{<}>";
    } else {
      const unsigned char letter = PhoneticLetter(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
      out += letter ? Escape(letter, std::string(1, c)) : std::string(1, c);
    }
  }
  return out;
}

}  // namespace builder::library
