// Every title of the whole reference library's main database, as the search
// and the entry lists cut and show it, is the title its source gives (with a
// homograph's number in parentheses): no tag, no escape. The library is made
// from the installed dictionary packages; without them the test is skipped.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "content/sample_content.h"
#include "library/dictd_file.h"
#include "library/library_set.h"
#include "re_titles.h"
#include "reader/reader_sample.h"

namespace {

namespace lib = builder::library;

// The dictionary packages the library is made from, by their index files.
std::vector<std::string> MissingPackages(const std::string& directory) {
  std::vector<std::string> missing;
  for (const char* name : {"foldoc", "gcide", "wn", "freedict-fra-eng", "freedict-eng-fra"})
    if (!std::filesystem::exists(directory + "/" + name + ".index")) missing.push_back(name);
  return missing;
}

// The source's title, or it followed by " (n)".
bool SourceTitle(const std::string& shown, const std::string& source) {
  if (shown == source) return true;
  if (shown.size() < source.size() + 4 || shown.compare(0, source.size() + 2, source + " (") != 0 ||
      shown.back() != ')')
    return false;
  for (std::size_t i = source.size() + 2; i + 1 < shown.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(shown[i]))) return false;
  return true;
}

TEST(LibraryTitles, EveryTitleAsItsSourceGivesIt) {
  lib::LibraryOptions options;
  options.dictdDirectory = lib::DictdDirectory();
  if (const auto missing = MissingPackages(options.dictdDirectory); !missing.empty())
    GTEST_SKIP() << "no " << missing.front() << " dictionary in " << options.dictdDirectory
                 << " (scripts/setup.sh installs the packages)";
  lib::LibraryFigures figures;
  const builder::ExtraContent content = lib::BuildLibraryContent(options, &figures);
  const builder::ExtraContentInUse inUse(&content);
  const builder::ContentSample sample = builder::BuildContentSample();
  const builder::search_corpus::Corpus articles = builder::MainArticles(sample);
  ASSERT_EQ(articles.articles.size(), sample.mainTitles.size());

  // The main database's title rules: the title after <WD> (title mode 4),
  // text format 0, syllable dots dropped.
  const ReTitleRules rules{4, 0, 0};
  std::vector<char> title(4096);
  std::size_t bad = 0;
  for (std::size_t e = 0; e < articles.articles.size(); ++e) {
    const std::string line = articles.articles[e].title + "\n";
    ASSERT_EQ(
        ReEntryTitle(line.data(), static_cast<u32>(line.size()), rules, title.data(), static_cast<u32>(title.size())),
        ReDone)
        << "entry " << e + 1;
    ReShowTitle(title.data(), rules.textFormat);
    if (!SourceTitle(title.data(), sample.mainTitles[e]) && bad++ < 10)
      ADD_FAILURE() << "entry " << e + 1 << ": \"" << title.data() << "\", its source's \"" << sample.mainTitles[e]
                    << "\"";
  }
  EXPECT_EQ(bad, 0u) << "of " << articles.articles.size() << " titles";
}

}  // namespace
