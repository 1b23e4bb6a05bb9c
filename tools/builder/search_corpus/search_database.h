// A searchable engine database of a generated corpus: the articles' text
// component, a main word index and a search index with every word occurrence
// and its word offset.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "engine_db/engine_db.h"
#include "search_corpus/search_corpus.h"

namespace builder::search_corpus {

struct SearchDatabaseOptions {
  std::uint32_t databaseId = 77;
  std::uint16_t kind = 1;
  std::uint16_t groupSize = 16;  // entries per block of the search (2^k)
  std::uint32_t maxCodes = 4096;
  std::uint16_t indexBlockSize = 2048;
  std::uint16_t indexCodeWidth = 12;
  // Lower-case words whose main-index list number is the given entry rather
  // than the first entry they occur in: the headwords of the database's
  // dictionary articles, so a headword lookup finds the article itself.
  std::map<std::string, std::uint32_t> headwordEntries;
  // The words of the search index: as a query reads them, with their pieces
  // (ForEachIndexWord); or as an index made by another indexer may hold
  // them: only runs of ASCII letters and digits (ForEachWord), or the words
  // a query reads, whole, with their syllable dots (ForEachTextWord).
  enum class IndexWords { AsQueriesRead, AsciiRuns, WholeWords } searchWords = IndexWords::AsQueriesRead;
  // Lower-case words of the corpus whose main index also lists the spelling
  // with a capital first letter (a name that is also a common word, as "Sun"
  // beside "sun"), under the same list number.
  std::set<std::string> capitalisedToo;
};

engine_db::Database SearchDatabase(const Corpus& corpus, const SearchDatabaseOptions& options = {});

}  // namespace builder::search_corpus
