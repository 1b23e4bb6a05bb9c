// The encyclopedia screen on a slice of the reference library (the content
// made from the installed dictionary packages for the headwords that begin
// with "cache"): a FOLDOC article shown with its cross references, which lead
// to their articles.
#include <string>
#include <vector>

#include "app_fixture.h"
#include "browser/browser.h"
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
    options.prefixes = {"cache"};
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

}  // namespace
}  // namespace apptest
