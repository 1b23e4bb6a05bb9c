// The searchers search_bench compares: the engine and its references (SQLite
// FTS5, Xapian), each over its own database of the same corpus.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "query_kinds.h"
#include "search_corpus/search_corpus.h"

namespace bench {

class Searcher {
 public:
  virtual ~Searcher() = default;
  virtual std::string Name() const = 0;
  // Writes the searcher's database of the corpus under `dir`.
  virtual void Build(const builder::search_corpus::Corpus& corpus) = 0;
  // Bytes of the database on disk.
  virtual std::uint64_t DatabaseBytes() const = 0;
  virtual void Open() = 0;
  virtual void Close() = 0;
  // The entries (from 1, ascending) a Boolean kind finds.
  virtual std::vector<std::uint32_t> Search(const BenchQuery& query) = 0;
  // The number of entries a ranked query returns (at most 50).
  virtual std::uint64_t Ranked(const BenchQuery& query) = 0;
};

std::unique_ptr<Searcher> MakeEngineSearcher(const std::string& dir);
std::unique_ptr<Searcher> MakeFts5Searcher(const std::string& dir);
std::unique_ptr<Searcher> MakeXapianSearcher(const std::string& dir);

}  // namespace bench
