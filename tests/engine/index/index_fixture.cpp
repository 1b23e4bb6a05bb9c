#include "index_fixture.h"

#include <stdexcept>

#include "re_charclass.h"
#include "re_file.h"

IndexFixture::IndexFixture(std::vector<builder::IndexWord> words, const builder::WordIndexOptions& options,
                           const builder::SpellingData* spelling, u8 kind) {
  std::vector<std::string> texts;
  for (const auto& w : words) texts.push_back(w.text);
  component = builder::BuildWordIndex(std::move(words), options);
  if (spelling) spellingTables_ = builder::BuildSpellingTables(*spelling, texts);
  // Block 0 is the component header: it starts with the component type 2.
  builder::Bytes area = component.blockArea;
  area[1] = 2;
  dir_.Write("index.dat", std::string(area.begin(), area.end()));

  index.blockSize = component.blockSize;
  index.formatLevel = component.formatLevel;
  index.indexFlags = component.indexFlags;
  index.recordOptions = component.recordOptions;
  index.indexBase = 0;
  const auto* pool = Table(builder::kTablePhrasePool);
  const auto* offsets = Table(builder::kTablePhraseOffsets);
  const auto* lengths = Table(builder::kTablePhraseLengths);
  const auto* prefixes = Table(builder::kTablePrefixes);
  index.phrasePool = pool->data.data();
  index.phrasePoolLength = static_cast<u32>(pool->data.size());
  index.literalLimit = static_cast<u16>(pool->elementCount);
  index.phraseOffsets = offsets->data.data();
  index.phraseOffsetsLength = static_cast<u32>(offsets->data.size());
  index.phraseLengths = lengths->data.data();
  index.phraseLengthsLength = static_cast<u32>(lengths->data.size());
  index.prefixTable = prefixes->data.data();
  index.prefixLength = static_cast<u8>(prefixes->elementSize);
  index.blockCount = static_cast<u16>(prefixes->elementCount);
  index.codeWidth = component.codeWidth;
  index.longestWord = component.longestWord;
  index.databaseKind = kind;
  index.charClasses = ReCharClassTable(kind);
  if (ReOpenDataFile(dir_.path().c_str(), "index.dat", &index.file, ReModeRead) != ReDone)
    throw std::runtime_error("cannot open the index file");
  state = ReNewIndexState(index.blockSize);
  if (!state) throw std::runtime_error("no index state");
  auto data = [&](u16 id, const u8** p, u32* n) {
    const builder::BuiltTable* t = Table(id);
    *p = t ? t->data.data() : nullptr;
    *n = t ? static_cast<u32>(t->data.size()) : 0;
  };
  const u8 *rules, *exceptions, *keyPrefixes, *fragments;
  u32 rulesLength, exceptionsLength, keyPrefixesLength, fragmentsLength;
  data(builder::kTableSpellingRules, &rules, &rulesLength);
  data(builder::kTableExceptions, &exceptions, &exceptionsLength);
  data(builder::kTableKeyPrefixes, &keyPrefixes, &keyPrefixesLength);
  data(builder::kTableFragments, &fragments, &fragmentsLength);
  ReLoadSpellingData(&state->spelling, rules, rulesLength, exceptions, exceptionsLength, keyPrefixes, keyPrefixesLength,
                     fragments, fragmentsLength);
}

IndexFixture::~IndexFixture() {
  ReFreeIndexState(state);
  ReCloseDataFile(index.file);
}

const builder::BuiltTable* IndexFixture::Table(u16 id) const {
  for (const auto& t : component.tables)
    if (t.id == id) return &t;
  for (const auto& t : spellingTables_)
    if (t.id == id) return &t;
  return nullptr;
}

std::vector<std::string> IndexFixture::DecodeAll() {
  std::vector<std::string> out;
  char restored[ReWordCapacity + 1];
  for (u16 block = 0; block < index.blockCount; ++block) {
    if (!ReLoadIndexBlock(state, &index, block)) throw std::runtime_error("block not readable");
    ReIndexBlockDecoder decoder;
    decoder.Begin(index, state->blockBuffer, block, ReReadingListNumber);
    while (const ReIndexWord* w = decoder.Next()) {
      ReRestoreCase(index, *w, ReCaseLower, restored);
      out.push_back(restored);
    }
    if (decoder.failed()) throw std::runtime_error("block not decodable");
  }
  return out;
}

std::vector<builder::IndexWord> NumberedWords(const std::vector<std::string>& words) {
  std::vector<builder::IndexWord> out;
  u32 n = 0;
  for (const std::string& w : words) {
    builder::IndexWord word;
    word.text = w;
    word.listNumber = ++n;
    out.push_back(word);
  }
  return out;
}
