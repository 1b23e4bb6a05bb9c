// Xapian over the same articles: title and body indexed with positions (no
// stemming), a gap of 100 positions between them so that no phrase or NEAR
// spans the two; document id = entry number. Boolean kinds are matched
// without weights, the ranked kind with BM25.
#include <xapian.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "searchers.h"

namespace bench {

namespace {

namespace sc = builder::search_corpus;

// The tokens Xapian indexes of a word: its runs of ASCII letters and digits.
std::vector<std::string> Tokens(const std::string& word) {
  std::vector<std::string> tokens;
  std::string token;
  for (const char c : word + " ") {
    if (std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80) {
      token += c;
    } else if (!token.empty()) {
      tokens.push_back(token);
      token.clear();
    }
  }
  return tokens;
}

Xapian::Query QueryOf(const BenchQuery& query) {
  std::vector<Xapian::Query> terms;
  if (query.kind == QueryKind::Joined) {
    // A joined word: its tokens as a phrase.
    for (const std::string& token : Tokens(query.words[0])) terms.emplace_back(token);
    if (terms.empty()) return Xapian::Query::MatchNothing;
    return Xapian::Query(Xapian::Query::OP_PHRASE, terms.begin(), terms.end(), static_cast<unsigned>(terms.size()));
  }
  for (const std::string& word : query.words) terms.emplace_back(word);
  switch (query.kind) {
    case QueryKind::And: return Xapian::Query(Xapian::Query::OP_AND, terms.begin(), terms.end());
    case QueryKind::Phrase: return Xapian::Query(Xapian::Query::OP_PHRASE, terms.begin(), terms.end(), 2);
    // Within a window of 8 positions: at most six words between, as FTS5's NEAR(x y, 6).
    case QueryKind::Near: return Xapian::Query(Xapian::Query::OP_NEAR, terms.begin(), terms.end(), 8);
    case QueryKind::StopWord: return terms[0];
    case QueryKind::Joined:
    case QueryKind::Ranked: break;
  }
  return Xapian::Query(Xapian::Query::OP_OR, terms.begin(), terms.end());
}

class XapianSearcher : public Searcher {
 public:
  explicit XapianSearcher(const std::string& dir) : path_(dir + "/bench.xapian") {}

  std::string Name() const override { return "Xapian"; }

  void Build(const sc::Corpus& corpus) override {
    std::filesystem::remove_all(path_);
    Xapian::WritableDatabase db(path_, Xapian::DB_CREATE_OR_OVERWRITE);
    Xapian::TermGenerator generator;
    for (std::size_t i = 0; i < corpus.articles.size(); ++i) {
      Xapian::Document document;
      generator.set_document(document);
      generator.index_text(corpus.articles[i].title);
      generator.increase_termpos(100);
      generator.index_text(corpus.articles[i].body);
      db.replace_document(static_cast<Xapian::docid>(i + 1), document);
    }
    db.commit();
    db.close();
  }

  std::uint64_t DatabaseBytes() const override {
    std::uint64_t bytes = 0;
    for (const auto& file : std::filesystem::directory_iterator(path_))
      if (file.is_regular_file()) bytes += file.file_size();
    return bytes;
  }

  void Open() override {
    db_ = std::make_unique<Xapian::Database>(path_);
    boolean_ = std::make_unique<Xapian::Enquire>(*db_);
    boolean_->set_weighting_scheme(Xapian::BoolWeight());
    ranked_ = std::make_unique<Xapian::Enquire>(*db_);  // BM25 by default
  }

  void Close() override {
    ranked_.reset();
    boolean_.reset();
    db_.reset();
  }

  std::vector<std::uint32_t> Search(const BenchQuery& query) override {
    boolean_->set_query(QueryOf(query));
    const Xapian::MSet matches = boolean_->get_mset(0, db_->get_doccount());
    std::vector<std::uint32_t> entries;
    entries.reserve(matches.size());
    for (auto it = matches.begin(); it != matches.end(); ++it) entries.push_back(*it);
    std::sort(entries.begin(), entries.end());
    return entries;
  }

  std::uint64_t Ranked(const BenchQuery& query) override {
    ranked_->set_query(QueryOf(query));
    return ranked_->get_mset(0, 50).size();
  }

 private:
  std::string path_;
  std::unique_ptr<Xapian::Database> db_;
  std::unique_ptr<Xapian::Enquire> boolean_, ranked_;
};

}  // namespace

std::unique_ptr<Searcher> MakeXapianSearcher(const std::string& dir) { return std::make_unique<XapianSearcher>(dir); }

}  // namespace bench
