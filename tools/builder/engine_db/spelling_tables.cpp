#include "engine_db/spelling_tables.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

namespace builder {

namespace {

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("spelling data: " + what); }

Bytes RuleTable(const std::vector<SpellingPass>& passes) {
  const std::size_t count = passes.size();
  if (count == 0 || count > 0xFFFF) Fail("pass count out of range");
  if (passes[0].total != 0) Fail("pass 0 must have a total budget of 0");
  ByteWriter w;
  w.U16be(static_cast<std::uint32_t>(count));
  Bytes rows(12 * count + 1, 0);  // one more byte: row 11 of the extra pass
  for (std::size_t p = 0; p < count; ++p) {
    const SpellingPass& s = passes[p];
    const std::uint8_t values[12] = {
        s.anchor,           s.kind,     s.total,    s.vowel,           s.substitution, s.fragment,
        s.lengthDifference, s.keyTotal, s.keyVowel, s.keySubstitution, s.keyFragment,  s.shortWords};
    for (std::size_t r = 0; r < 12; ++r) rows[r * count + p] = values[r];
  }
  w.Append(rows);
  return w.take();
}

Bytes ExceptionTable(const std::vector<std::pair<std::string, std::string>>& pairs) {
  ByteWriter w;
  w.U16be(static_cast<std::uint32_t>(pairs.size()));
  for (const auto& [typed, correct] : pairs) {
    if (typed.find('\0') != std::string::npos || correct.find('\0') != std::string::npos) Fail("NUL in an exception");
    w.Append(IndexLowerCase(typed));
    w.U8(0);
    w.Append(correct);
    w.U8(0);
  }
  return w.take();
}

// Every distinct four-character prefix of the index's words (lower case,
// space-padded), grouped by their first two characters.
Bytes KeyPrefixTable(const std::vector<std::string>& words) {
  std::set<std::string> prefixes;
  for (const std::string& word : words) {
    std::string p = IndexLowerCase(word).substr(0, 4);
    p.resize(4, ' ');
    prefixes.insert(p);
  }
  // The 255 most frequent third-and-fourth character pairs get a table slot.
  std::map<std::string, std::size_t> frequency;
  for (const std::string& p : prefixes) ++frequency[p.substr(2, 2)];
  std::vector<std::pair<std::size_t, std::string>> ranked;
  for (const auto& [tail, count] : frequency) ranked.emplace_back(count, tail);
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::map<std::string, std::uint8_t> slot;
  Bytes third(256, ' '), fourth(256, ' ');
  for (std::size_t i = 0; i < ranked.size() && i < 255; ++i) {
    slot[ranked[i].second] = static_cast<std::uint8_t>(i);
    third[i] = static_cast<std::uint8_t>(ranked[i].second[0]);
    fourth[i] = static_cast<std::uint8_t>(ranked[i].second[1]);
  }

  std::vector<std::string> groups;
  std::vector<std::size_t> starts;
  Bytes entries;
  for (const std::string& p : prefixes) {
    if (groups.empty() || groups.back() != p.substr(0, 2)) {
      groups.push_back(p.substr(0, 2));
      starts.push_back(entries.size());
    }
    const auto hit = slot.find(p.substr(2, 2));
    if (hit != slot.end()) {
      entries.push_back(hit->second);
    } else {
      entries.push_back(255);
      entries.push_back(static_cast<std::uint8_t>(p[2]));
      entries.push_back(static_cast<std::uint8_t>(p[3]));
    }
  }
  if (entries.size() > 0xFFFF || groups.size() > 0xFFFF) Fail("too many key prefixes for 16-bit run starts");
  ByteWriter w;
  w.U16be(static_cast<std::uint32_t>(groups.size()));
  for (const std::string& g : groups) w.U8(static_cast<std::uint8_t>(g[0]));
  for (const std::string& g : groups) w.U8(static_cast<std::uint8_t>(g[1]));
  for (std::size_t s : starts) w.U8(static_cast<std::uint32_t>(s >> 8));
  for (std::size_t s : starts) w.U8(static_cast<std::uint32_t>(s & 0xFF));
  w.Append(third);
  w.Append(fourth);
  w.U16be(static_cast<std::uint32_t>(entries.size()));
  w.Append(entries);
  return w.take();
}

Bytes FragmentTable(const std::vector<SpellingFragment>& fragments, bool on) {
  if (fragments.size() > 255) Fail("more than 255 fragments");
  std::vector<SpellingFragment> sorted = fragments;
  for (const SpellingFragment& f : sorted)
    if (f.indexText.empty() || f.indexText.size() > 4 || f.typedText.empty() || f.typedText.size() > 4)
      Fail("fragment texts must be 1 to 4 characters");
  auto padded = [](const std::string& s) { return std::string(s).append(4 - s.size(), '\0'); };
  std::stable_sort(sorted.begin(), sorted.end(), [&](const SpellingFragment& a, const SpellingFragment& b) {
    const std::string x = padded(a.typedText), y = padded(b.typedText);
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
      return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
    });
  });
  ByteWriter w;
  w.U8(on ? 1 : 0);
  w.U8(0);
  w.U16be(static_cast<std::uint32_t>(sorted.size()));
  for (const SpellingFragment& f : sorted) {
    w.Append(padded(f.indexText));
    w.U8(static_cast<std::uint32_t>(f.indexText.size()));
    w.Append(padded(f.typedText));
    w.U8(static_cast<std::uint32_t>(f.typedText.size()));
  }
  return w.take();
}

}  // namespace

std::vector<BuiltTable> BuildSpellingTables(const SpellingData& data, const std::vector<std::string>& indexWords) {
  std::vector<BuiltTable> tables;
  const Bytes rules = RuleTable(data.passes);
  tables.push_back({kTableSpellingRules, 1, static_cast<std::uint32_t>(rules.size()), rules});
  if (!data.exceptions.empty())
    tables.push_back(
        {kTableExceptions, 1, static_cast<std::uint32_t>(data.exceptions.size()), ExceptionTable(data.exceptions)});
  const Bytes prefixes = KeyPrefixTable(indexWords);
  tables.push_back({kTableKeyPrefixes, 1, static_cast<std::uint32_t>(prefixes.size()), prefixes});
  const Bytes fragments = FragmentTable(data.fragments, data.fragmentSwitch);
  tables.push_back({kTableFragments, 10, static_cast<std::uint32_t>(data.fragments.size()), fragments});
  return tables;
}

SpellingData StandardSpelling() {
  SpellingData data;
  auto pass = [&](std::uint8_t anchor, std::uint8_t kind, std::uint8_t total, std::uint8_t vowel,
                  std::uint8_t substitution, std::uint8_t fragment, std::uint8_t length, std::uint8_t keyTotal,
                  std::uint8_t keyVowel, std::uint8_t keySubstitution, std::uint8_t keyFragment,
                  std::uint8_t shortWords) {
    data.passes.push_back({anchor, kind, total, vowel, substitution, fragment, length, keyTotal, keyVowel,
                           keySubstitution, keyFragment, shortWords});
  };
  //   anchor kind total vowel subst frag len | key: total vowel subst frag | short
  pass(4, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);  // 0: the word itself, and swapped letters
  pass(0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);  // 1: the exception list
  pass(3, 2, 1, 1, 1, 0, 1, 0, 0, 0, 0, 1);  // 2: one slip after the third letter
  pass(0, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1);  // 3: one slip in the first letters
  pass(2, 2, 1, 1, 1, 1, 1, 0, 0, 0, 0, 1);  // 4: the third letter wrong
  pass(1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1);  // 5: the second letter wrong or left out
  pass(0, 3, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1);  // 6: a sound written otherwise at the start
  pass(0, 6, 1, 1, 0, 0, 1, 1, 1, 0, 0, 1);  // 7: another first vowel
  pass(0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);  // 8: accents left out
  pass(0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);  // 9: short words with a known ending slip
  pass(1, 7, 1, 1, 1, 0, 1, 0, 0, 0, 0, 1);  // 10: short words, the second letter wrong
  pass(3, 2, 2, 2, 2, 1, 2, 0, 0, 0, 0, 0);  // 11: two slips after the third letter
  pass(0, 1, 2, 2, 1, 1, 2, 1, 1, 1, 1, 0);  // 12: two slips, one in the first letters
  pass(0, 2, 1, 1, 1, 0, 1, 0, 0, 0, 0, 0);  // 13: the first letter wrong
  pass(2, 2, 2, 2, 1, 1, 2, 0, 0, 0, 0, 0);  // 14: two slips from the third letter
  pass(0, 3, 2, 2, 1, 2, 2, 1, 1, 1, 2, 0);  // 15: sounds written otherwise
  pass(1, 2, 2, 2, 1, 1, 2, 0, 0, 0, 0, 0);  // 16: two slips from the second letter
  pass(0, 6, 2, 2, 1, 1, 2, 1, 1, 1, 1, 0);  // 17: another first vowel and a slip
  pass(0, 2, 2, 2, 1, 1, 2, 0, 0, 0, 0, 0);  // 18: the first letter wrong and a slip
  pass(0, 1, 3, 2, 2, 1, 2, 2, 2, 1, 1, 0);  // 19: three slips
  data.fragments = {{"ph", "f"},      {"f", "ph"},      {"ck", "k"},      {"c", "k"},      {"k", "c"},
                    {"s", "c"},       {"c", "s"},       {"ea", "ee"},     {"ee", "ea"},    {"ie", "ei"},
                    {"ei", "ie"},     {"tion", "shun"}, {"ough", "uf"},   {"gh", "f"},     {"wh", "w"},
                    {"kn", "n"},      {"wr", "r"},      {"ps", "s"},      {"qu", "kw"},    {"x", "ks"},
                    {"ure", "er"},    {"our", "or"},    {"ise", "ize"},   {"ize", "ise"},  {"le", "el"},
                    {"able", "ible"}, {"ible", "able"}, {"ance", "ence"}, {"ence", "ance"}};
  return data;
}

}  // namespace builder
