// The encyclopedia and dictionary screens on a slice of the reference library
// (the content made from the installed dictionary packages for the headwords
// that begin with "cache" or "connect"): a FOLDOC article shown with its cross
// references, which lead to their articles, and a search of the dictionary
// whose results show their titles without markup.
#include <algorithm>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "browser/browser.h"
#include "dictionary/dict_view.h"
#include "display/text_model.h"
#include "library/dictd_file.h"
#include "library/library_set.h"

namespace apptest {
namespace {

namespace lib = builder::library;

class LibraryScreen : public ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    settings.Set("Installation Options", "ZoomIn", "0");
    lib::LibraryOptions options;
    options.dictdDirectory = lib::DictdDirectory();
    options.prefixes = {"cache", "connect"};
    lib::LibraryFigures figures;
    content_ = lib::BuildLibraryContent(options, &figures);
    const builder::ExtraContentInUse inUse(&content_);
    builder::WriteSampleSet(dir.path());
    library_ = builder::BuildContentSample();
  }
  // The article of a main title: main entry e is the e-th article that is no
  // update article.
  int LibraryArticle(const std::string& title) const {
    int entry = 0;
    for (std::size_t i = 0; i < library_.mainTitles.size() && !entry; ++i)
      if (library_.mainTitles[i] == title) entry = static_cast<int>(i) + 1;
    EXPECT_GT(entry, 0) << title;
    int article = 0;
    while (entry > 0) {
      ++article;
      bool update = false;
      for (u32 a : library_.updateArticles) update = update || a == static_cast<u32>(article);
      if (!update) --entry;
    }
    return article;
  }
  static std::vector<std::string> CrossReferences(CBrowser* browser) {
    std::vector<std::string> references;
    const display::TextModel& model = browser->Display().Model();
    bool inReference = false;
    for (int r = 0; r < model.RunCount(); ++r) {
      const bool reference = model.GetRun(r).style == display::kStyleCrossReference;
      if (reference && !inReference) references.emplace_back();
      if (reference) references.back() += model.RunString(r);
      if (model.GetRun(r).style != display::kStyleHidden) inReference = reference;
    }
    return references;
  }

  builder::ExtraContent content_;
  builder::ContentSample library_;
};

TEST_F(LibraryScreen, AnArticleWithItsCrossReferences) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Frame()->ShowBrowser());
  ui::PumpUntilIdle();
  auto* browser = dynamic_cast<CBrowser*>(Frame()->GetScreen(Screen::Browser));
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(LibraryArticle("cache"));
  ui::PumpUntilIdle();
  EXPECT_STREQ(browser->GetTitleText(), "cache");
  const std::vector<std::string> references = CrossReferences(browser);
  std::string all;
  for (const std::string& reference : references) all += "[" + reference + "]";
  EXPECT_NE(all.find("[cache hit]"), std::string::npos) << all;
  EXPECT_NE(all.find("[cache miss]"), std::string::npos) << all;
  ui::SavePng(ui::Capture(browser->m_hWnd), "library_article");

  browser->ShowArticle(LibraryArticle("cache hit"));
  ui::PumpUntilIdle();
  EXPECT_STREQ(browser->GetTitleText(), "cache hit");
}

// A word search of the dictionary over GCIDE's entries and FOLDOC's articles:
// the results list their titles as a reader reads them, a homograph's number
// in parentheses, no tags.
TEST_F(LibraryScreen, DictionarySearchResultsShowPlainTitles) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Frame()->ShowDictionary());
  ui::PumpUntilIdle();
  auto* dict = dynamic_cast<CDict*>(Frame()->GetScreen(Screen::Dictionary));
  ASSERT_NE(dict, nullptr);
  dict->WordEdit().SetWindowText("connect");
  ui::PumpUntilIdle();
  dict->WordSearch().OnDictionarySearch();
  ui::PumpUntilIdle();
  CWordListDlg& results = dict->AlternativesPanel();
  ASSERT_TRUE(results.IsOpen());
  EXPECT_EQ(results.GetMode(), CWordListDlg::kSearchResults);
  std::vector<std::string> titles;
  for (int i = 0; i < results.List().GetCount(); ++i) {
    CString text;
    results.List().GetText(i, text);
    titles.emplace_back(text);
    EXPECT_EQ(titles.back().find_first_of("<>{}"), std::string::npos) << titles.back();
  }
  EXPECT_NE(std::find(titles.begin(), titles.end(), "Connect (1)"), titles.end());
  EXPECT_NE(std::find(titles.begin(), titles.end(), "connect"), titles.end());  // FOLDOC's article
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "library_dictionary_search");
}

}  // namespace
}  // namespace apptest
