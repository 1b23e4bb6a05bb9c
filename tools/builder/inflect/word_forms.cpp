#include "inflect/word_forms.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "inflect/inflect_records.h"

namespace builder::inflect {

namespace {

constexpr std::uint32_t HeaderSize = 512;
constexpr std::uint32_t PresenceSize = 8192;
constexpr std::uint32_t EndingText = 9;

std::uint16_t IndexOf(const std::vector<std::string>& names, const std::string& name, const char* what) {
  const auto found = std::find(names.begin(), names.end(), name);
  if (found == names.end()) throw std::invalid_argument(std::string("unknown ") + what + ": " + name);
  return static_cast<std::uint16_t>(found - names.begin());
}

// The entry of a listed form: the base word, cut to the part it shares with the form, plus the rest of the form.
Entry FormToEntry(const FormEntry& f, std::uint16_t rule) {
  Entry e;
  e.word = f.base;
  e.capitalised = f.capitalised;
  e.kind = f.kind;
  e.rule = rule;
  std::size_t common = 0;
  while (common < f.base.size() && common < f.form.size() &&
         LowerKeyText(f.base.substr(common, 1), KeyCase::Ascii) ==
             LowerKeyText(f.form.substr(common, 1), KeyCase::Ascii))
    ++common;
  if (f.base.size() - common >= 17) throw std::invalid_argument("form too far from its base: " + f.form);
  e.cut = static_cast<std::uint8_t>(f.base.size() - common);
  e.suffix = f.form.substr(common);
  return e;
}

void PutText(ByteWriter& out, const std::string& text) {
  if (text.size() > EndingText) throw std::invalid_argument("ending text longer than 9: " + text);
  out.Append(text);
  out.Zeros(EndingText - text.size());
}

}  // namespace

void AddKnownWord(Bytes& presence, const std::string& word) {
  if (word.empty()) return;
  const WordHash hash = HashWord(word, true);
  std::uint32_t check = (word.size() == 1 ? hash.x : hash.h) & 0xFF;
  if (check == 0) check = word.size() & 0xFF;
  if (check == 0) throw std::invalid_argument("word has no check byte: " + word);
  const std::uint32_t spread = check & 31;
  std::uint32_t slot = (hash.x & 32767u) % PresenceSize;
  std::int32_t step = 3 - static_cast<std::int32_t>(spread);
  for (int probe = 0; probe < 52; ++probe) {
    if (presence[slot] == 0 || presence[slot] == check) {
      presence[slot] = static_cast<std::uint8_t>(check);
      return;
    }
    step += 2 * static_cast<std::int32_t>(spread);
    slot = (slot + static_cast<std::uint32_t>(step)) % PresenceSize;
  }
  throw std::invalid_argument("hash.dat has no free slot for " + word);
}

FormFiles BuildFormFiles(const FormData& data) {
  std::vector<std::string> ruleNames;
  for (const FormRule& rule : data.rules) ruleNames.push_back(rule.name);
  if (data.tableA.size() % 20 != 0) throw std::invalid_argument("table A holds 20-byte records");

  // Entries in scan order: by form (lower-cased), so that targets ascend.
  std::vector<FormEntry> listed = data.entries;
  std::stable_sort(listed.begin(), listed.end(), [](const FormEntry& a, const FormEntry& b) {
    return LowerKeyText(a.form, KeyCase::Ascii) < LowerKeyText(b.form, KeyCase::Ascii);
  });
  std::vector<Entry> entries;
  for (const FormEntry& f : listed) entries.push_back(FormToEntry(f, IndexOf(ruleNames, f.rule, "rule")));
  const Records records = EncodeRecords(entries, data.recordLength, KeyCase::Ascii);

  // Table B, ascending by the reversed ending.
  std::vector<FormEnding> endings = data.endings;
  std::stable_sort(endings.begin(), endings.end(),
                   [](const FormEnding& a, const FormEnding& b) { return Reversed(a.ending) < Reversed(b.ending); });
  ByteWriter tableB;
  for (const FormEnding& e : endings) {
    tableB.U16be(IndexOf(ruleNames, e.rule, "rule"));
    PutText(tableB, Reversed(e.ending));
    PutText(tableB, e.replacement);
  }

  ByteWriter tableC;
  for (const std::string& tag : data.tags) {
    if (tag.size() > 11) throw std::invalid_argument("tag longer than 11: " + tag);
    tableC.Append(tag);
    tableC.Append(std::string(11 - tag.size(), ' '));
  }

  // Rule matrix: one row per tag, bit r set when rule r makes forms of that tag.
  const std::size_t rowBytes = (data.rules.size() + 7) / 8;
  Bytes matrix(data.tags.size() * rowBytes, 0);
  ByteWriter firstValues;
  ByteWriter secondValues;
  for (std::size_t r = 0; r < data.rules.size(); ++r) {
    const std::uint16_t formTag = IndexOf(data.tags, data.rules[r].formTag, "tag");
    firstValues.U16be(formTag);
    secondValues.U16be(IndexOf(data.tags, data.rules[r].baseTag, "tag"));
    matrix[formTag * rowBytes + r / 8] |= static_cast<std::uint8_t>(0x80 >> (r % 8));
  }

  std::uint8_t flags = 0;
  if (!data.tableA.empty()) flags |= 0x80;
  if (!endings.empty()) flags |= 0x20;

  ByteWriter ram;
  ram.U16be(static_cast<std::uint32_t>(data.tags.size()));
  ram.U16be(static_cast<std::uint32_t>(data.tags.size()));  // one matrix row per tag
  ram.U16be(static_cast<std::uint32_t>(data.tableA.size() / 20));
  ram.U16be(static_cast<std::uint32_t>(endings.size()));
  ram.U16be(static_cast<std::uint32_t>(data.rules.size()));
  ram.Zeros(4);
  ram.U8(flags);
  ram.U16be(data.recordLength);
  ram.U8(records.codeWidth);
  ram.U16be(records.phraseCount);
  ram.U16be(data.header20);
  ram.U16be(static_cast<std::uint32_t>(records.pool.size()));
  ram.U16be(records.recordCount);
  ram.U16be(static_cast<std::uint32_t>(data.tableD.size()));
  ram.PadTo(HeaderSize);
  ram.Append(data.tableA);
  ram.Append(tableB.bytes());
  ram.Append(tableC.bytes());
  ram.Append(matrix);
  ram.Append(firstValues.bytes());
  ram.Append(secondValues.bytes());
  ram.Append(data.tableD);
  ram.Append(records.pool);
  ram.Append(records.offsets);
  ram.Append(records.lengths);
  ram.Append(records.keys);

  FormFiles files;
  files.ram = ram.take();
  files.dsk = records.dsk;
  files.hash.assign(PresenceSize, 0);
  for (const FormEntry& f : data.entries) {
    AddKnownWord(files.hash, f.base);
    AddKnownWord(files.hash, f.form);
  }
  for (const std::string& word : data.extraKnownWords) AddKnownWord(files.hash, word);
  return files;
}

void WriteFormFiles(const std::string& directory, const FormData& data) {
  const FormFiles files = BuildFormFiles(data);
  WriteFileAtomically(JoinPath(directory, "enue.ram"), files.ram);
  WriteFileAtomically(JoinPath(directory, "enue.dsk"), files.dsk);
  WriteFileAtomically(JoinPath(directory, "hash.dat"), files.hash);
}

}  // namespace builder::inflect
