#include "core/query_text.h"

#include <cstring>

#include "zorlre/re_charclass.h"

const u32* GetCharClassTable(int index) {
  // The engine selects the table by database kind; the reader's index 0
  // stands for the engine's kind 1, and the reader has no table for 1.
  if (index == 0) return ReCharClassTable(1);
  if (index == 1 || index < 0 || index > 0xFF) return nullptr;
  return ReCharClassTable(static_cast<u8>(index));
}

namespace {

const u32* Classes() { return ReCharClassTable(3); }
bool Is(unsigned char c, u32 bits) { return (Classes()[c] & bits) != 0; }
bool IsDigitAt(const std::string& text, size_t i) {
  return i < text.size() && Is(static_cast<u8>(text[i]), ReClassDigit);
}

char Lower(unsigned char c) {
  if (!Is(c, ReClassUpper)) return static_cast<char>(c);
  if (c == 0x9F) return static_cast<char>(0xFF);  // Y with diaeresis
  return static_cast<char>(c + 32);               // A-Z and 0xC0-0xDE
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(static_cast<u8>(a[i])) != Lower(static_cast<u8>(b[i]))) return false;
  return true;
}

// The offset just past the next `close` at or after `from`; the end when there is none.
size_t PastNext(const std::string& text, size_t from, char close) {
  const size_t found = text.find(close, from);
  return found == std::string::npos ? text.size() : found + 1;
}

}  // namespace

WordList::WordList(const char* data, u32 size) {
  if (!data) return;
  u32 at = 0;
  while (at < size) {
    const void* nul = std::memchr(data + at, '\0', size - at);
    const u32 length = nul ? static_cast<u32>(static_cast<const char*>(nul) - (data + at)) : size - at;
    if (length == 0) break;  // the list ends at an empty word
    words_.emplace_back(data + at, length);
    at += length + 1;
  }
}

bool WordList::Contains(std::string_view word, int limit) const {
  const int count = limit < 0 || limit > Count() ? Count() : limit;
  for (int i = 0; i < count; ++i)
    if (SameIgnoringCase(words_[static_cast<size_t>(i)], word)) return true;
  return false;
}

bool QueryTokenizer::IsAbbreviation(const std::string& token) const {
  return abbreviations_ && abbreviations_->Contains(token);
}

int QueryTokenizer::Next(const char* text, CString& token, int& sentence, bool lowerCase) {
  if (text) {
    text_ = text;
    active_ = true;
    offset_ = 0;
    sentence_ = 1;
  }
  if (!active_) return -1;
  const std::string& t = text_;
  size_t i = offset_;
  // To the start of a token.
  while (i < t.size()) {
    const unsigned char c = static_cast<u8>(t[i]);
    if (c == '<') {
      i = (i + 1 < t.size() && Is(static_cast<u8>(t[i + 1]), ReClassSpace)) ? i + 1 : PastNext(t, i, '>');
    } else if (c == '\\') {
      i = PastNext(t, i + 1, '/');
    } else if (c == '.') {
      if (IsDigitAt(t, i + 1)) break;  // a number such as .5
      ++sentence_;
      ++i;
    } else if (Is(c, QueryWordClasses)) {
      break;
    } else {
      ++i;
    }
  }
  if (i >= t.size()) {
    offset_ = t.size();
    active_ = false;
    return -1;
  }
  const size_t start = i;
  std::string out;
  size_t periodInToken = std::string::npos, periodInText = 0;
  while (i < t.size() && out.size() < static_cast<size_t>(MaxQueryTokenLength)) {
    const unsigned char c = static_cast<u8>(t[i]);
    if (c == '<') {
      if (i + 1 < t.size() && t[i + 1] == '{') {
        i = PastNext(t, i, '>');
        continue;
      }
      break;
    }
    if (c == '\\') {
      i = PastNext(t, i + 1, '/');
      continue;
    }
    if (Is(c, ReClassSpace)) break;
    const bool keep = Is(c, QueryWordClasses) || c == '-' || (c == '\'' && i + 1 == t.size()) || c == '.' ||
                      (i + 1 < t.size() && Is(static_cast<u8>(t[i + 1]), QueryWordClasses));
    if (!keep) break;
    if (c == '.' && !IsDigitAt(t, i + 1) && periodInToken == std::string::npos) {
      periodInToken = out.size();  // a sentence end unless the token is a known abbreviation
      periodInText = i;
    }
    out += lowerCase ? Lower(c) : static_cast<char>(c);
    ++i;
  }
  if (periodInToken != std::string::npos && !IsAbbreviation(out)) {
    out.resize(periodInToken);
    i = periodInText;
  }
  offset_ = i;
  token = CString(out.data(), static_cast<int>(out.size()));
  sentence = sentence_;
  return static_cast<int>(start);
}

int ParseQuery(QueryTokenizer& tokenizer, const char* text, CStringArray& terms, CDWordArray& groups, bool lowerCase) {
  if (!text) return 0;
  const int first = terms.GetSize();
  int distinct = 0;
  CString token;
  int sentence = 0;
  for (int at = tokenizer.Next(text, token, sentence, lowerCase); at >= 0;
       at = tokenizer.Next(nullptr, token, sentence, lowerCase)) {
    bool seen = false;
    for (int i = first; i < terms.GetSize() && !seen; ++i) seen = terms[i] == token;
    if (!seen) ++distinct;
    terms.Add(token);
    groups.Add(static_cast<DWORD>(sentence));
  }
  return distinct;
}

int RemoveStopWords(CStringArray& terms, CDWordArray& groups, const WordList& stopWords, int limit) {
  for (int i = terms.GetSize() - 1; i >= 0; --i) {
    const CString& term = terms[i];
    if (stopWords.Contains(std::string_view(term, static_cast<size_t>(term.GetLength())), limit)) {
      terms.RemoveAt(i);
      if (i < groups.GetSize()) groups.RemoveAt(i);
    }
  }
  return terms.GetSize();
}

int StopWordLimit(int termCount) { return termCount < 51 ? 61 : (termCount - 47) / 4 + 61; }
