#include "search_corpus/search_database.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "engine_db/word_index_builder.h"
#include "engine_db/word_index_component.h"
#include "entry_text/entry_text.h"

namespace builder::search_corpus {

namespace {

constexpr std::uint16_t kMaxOffset = 8191;  // word offsets of the search index are 13 bits
constexpr std::size_t kLongestIndexWord = 255;

engine_db::Component IndexOf(std::vector<IndexWord> words, std::uint16_t subtype, std::uint16_t reading,
                             const SearchDatabaseOptions& options, std::uint16_t longestLine) {
  WordIndexOptions indexOptions;
  indexOptions.reading = reading;
  indexOptions.blockSize = options.indexBlockSize;
  indexOptions.codeWidth = options.indexCodeWidth;
  WordIndexComponentOptions component;
  component.subtype = subtype;
  component.entryListCount = 20;
  component.longestLine = longestLine;
  return WordIndexComponentOf(BuildWordIndex(std::move(words), indexOptions), {}, component);
}

}  // namespace

engine_db::Database SearchDatabase(const Corpus& corpus, const SearchDatabaseOptions& options) {
  engine_db::Database database;
  database.header.kind = options.kind;
  database.header.databaseId = options.databaseId;
  database.header.lineRule = 1;  // the longest line comes from the text component
  database.header.capabilityMask = 0x81;

  entry_text::EntryTextSpec text;
  for (const Article& article : corpus.articles) text.entries.push_back(article.Text());
  text.compress.groupSize = options.groupSize;
  text.compress.maxCodes = options.maxCodes;
  const engine_db::TextComponentSpec textSpec = entry_text::EntryTextComponent(text);
  database.components.push_back(engine_db::TextComponent(textSpec));

  // The main index lists every plain word (lower case) under the first entry
  // it occurs in; the search index every occurrence of its words, in entry
  // and offset order.
  std::unordered_map<std::string, std::uint32_t> firstEntries;
  std::unordered_map<std::string, std::vector<IndexOccurrence>> occurrences;
  std::string lower;
  const auto occurs = [&](std::uint32_t entry, std::uint32_t offset) {
    std::vector<IndexOccurrence>& list = occurrences[lower];
    const auto position = static_cast<std::uint16_t>(std::min<std::uint32_t>(offset, kMaxOffset));
    if (!list.empty() && list.back().entry == entry && list.back().position == position) return;  // a part again
    IndexOccurrence occurrence;
    occurrence.entry = entry;
    occurrence.position = position;
    list.push_back(occurrence);
  };
  for (std::uint32_t e = 0; e < corpus.articles.size(); ++e) {
    ForEachWord(corpus.articles[e], [&](std::string_view word, std::uint32_t offset) {
      lower.assign(word);
      for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
      firstEntries.emplace(lower, e + 1);
      if (options.searchWords == SearchDatabaseOptions::IndexWords::AsciiRuns) occurs(e + 1, offset);
    });
    // An index word holds at most 255 bytes and none below 32.
    const auto indexed = [&](std::string_view word, std::uint32_t offset) {
      if (word.size() > kLongestIndexWord ||
          std::any_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }))
        return;
      lower = IndexLowerCase(std::string(word));
      occurs(e + 1, offset);
    };
    if (options.searchWords == SearchDatabaseOptions::IndexWords::AsQueriesRead)
      ForEachIndexWord(corpus.articles[e],
                       [&](std::string_view word, std::uint32_t offset, IndexWordKind) { indexed(word, offset); });
    if (options.searchWords == SearchDatabaseOptions::IndexWords::WholeWords)
      ForEachTextWord(corpus.articles[e], [&](const TextWord& at) { indexed(at.word, at.offset); });
  }
  for (const std::string& word : options.capitalisedToo)
    if (!firstEntries.count(word) || word[0] < 'a' || word[0] > 'z')
      throw std::invalid_argument("capitalised spelling of " + word + ", which is no lower-case word of the database");
  for (const auto& [word, entry] : options.headwordEntries)
    if (!firstEntries.count(word) || entry < 1 || entry > corpus.articles.size())
      throw std::invalid_argument("headword " + word + " is not a word of its entry's database");
  std::vector<IndexWord> main, search;
  main.reserve(firstEntries.size());
  for (const auto& [word, first] : firstEntries) {
    IndexWord listed;
    listed.text = word;
    const auto headword = options.headwordEntries.find(word);
    listed.listNumber = headword != options.headwordEntries.end() ? headword->second : first;
    if (options.capitalisedToo.count(word)) {
      IndexWord capitalised = listed;
      capitalised.text[0] = static_cast<char>(capitalised.text[0] - 'a' + 'A');
      main.push_back(std::move(capitalised));
    }
    main.push_back(std::move(listed));
  }
  search.reserve(occurrences.size());
  for (auto& [word, list] : occurrences) {
    IndexWord occurring;
    occurring.text = word;
    occurring.occurrences = std::move(list);
    search.push_back(std::move(occurring));
  }
  occurrences.clear();
  database.components.push_back(IndexOf(std::move(main), 1, 2, options, textSpec.longestLine));
  database.components.push_back(IndexOf(std::move(search), 3, 1, options, textSpec.longestLine));
  return database;
}

}  // namespace builder::search_corpus
