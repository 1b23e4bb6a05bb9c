#include "library_corpus.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

#include "library/library_set.h"

namespace sc = builder::search_corpus;

sc::Corpus LibraryCorpus(const std::string& dictdDirectory) {
  builder::library::LibraryOptions options;
  options.dictdDirectory = dictdDirectory;
  options.progress = [](const std::string& line) { std::printf("library: %s\n", line.c_str()); };
  builder::library::LibraryFigures figures;
  const builder::ExtraContent content = builder::library::BuildLibraryContent(options, &figures);
  sc::Corpus corpus;
  std::map<std::string, std::uint64_t> frequency;
  for (const builder::ExtraArticle& extra : content.articles) {
    if (extra.timeline || extra.picture) continue;  // FOLDOC's and GCIDE's entries only
    sc::Article article;
    const std::size_t lineEnd = extra.text.find('\n');
    article.title = extra.text.substr(0, lineEnd);
    article.body = lineEnd == std::string::npos ? "" : extra.text.substr(lineEnd + 1);
    for (const sc::WordAt& word : sc::SplitWords(article)) {
      std::string lower = word.word;
      for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      ++frequency[lower];
    }
    corpus.articles.push_back(std::move(article));
  }
  std::vector<std::pair<std::uint64_t, std::string>> ranked;
  for (const auto& [word, count] : frequency) ranked.emplace_back(count, word);
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& [count, word] : ranked) corpus.vocabulary.push_back(word);
  return corpus;
}
