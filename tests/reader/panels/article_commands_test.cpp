// The article commands both article screens share, on a test view that
// answers their questions with a display of the sample's Volcano article and
// a list of articles of the test's choosing.
#include "panels/article_commands.h"

#include <cstdio>
#include <memory>
#include <string>

#include "core/content_file.h"
#include "display/display.h"
#include "panels_test_owner.h"

namespace paneltest {
namespace {

using apptest::App;
using apptest::Article;
using panels::ArticleCommand;

constexpr UINT kNotesId = 0x7101, kHighlightsId = 0x7102, kAddArticleId = 0x7103, kAddSelectedId = 0x7104,
               kCopyArticleId = 0x7105, kSaveId = 0x7106, kUnknownId = 0x7107;
constexpr panels::ArticleCommandId kIds[] = {
    {kNotesId, ArticleCommand::Notes},
    {kHighlightsId, ArticleCommand::Highlights},
    {kAddArticleId, ArticleCommand::AddArticle},
    {kAddSelectedId, ArticleCommand::AddSelected},
    {kCopyArticleId, ArticleCommand::CopyArticle},
    {kSaveId, ArticleCommand::Save},
};

class TestArticleView : public CView, public ArticleCommandOwner {
 public:
  void OnDraw(CDC*) override {}
  CView& ArticleView() override { return *this; }
  CDisplay& ArticleDisplay() override { return display; }
  int ArticleForFolders() const override { return article; }
  BOOL HasArticleText() const override { return article > 0; }
  std::string ArticleNotices() const override { return "\r\n-- notices"; }
  BOOL HasArticleList() const override { return listed != nullptr; }
  BOOL ListedArticles(CBitString& articles) override {
    if (listed == nullptr) return FALSE;
    articles = *listed;
    return TRUE;
  }

  CDisplay display;
  int article = 0;
  const CBitString* listed = nullptr;

 protected:
  void PostNcDestroy() override {}  // the fixture owns the object; a view would delete itself
};

// Records what an update rule set.
class RecordingCmdUI : public CCmdUI {
 public:
  void Enable(BOOL on) override {
    enabled = on != FALSE;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int check) override { checked = check; }
  bool enabled = false;
  int checked = -1;
};

class ArticleCommandsOnTheApp : public apptest::ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    ASSERT_TRUE(Start());
    boxes.Clear();
    owner = std::make_unique<TestOwner>();
    ASSERT_TRUE(view.CreateEx(0, nullptr, "article", WS_CHILD | WS_VISIBLE, CRect(0, 0, 620, 440), owner.get(), 1));
    ASSERT_TRUE(view.display.Create(&view, CRect(216, 91, 620, 440), WS_CHILD | WS_VISIBLE, CDisplay::kControlId,
                                    kSkinEncyclopedia));
    ShowVolcano();
    commands = std::make_unique<CArticleCommands>(view, kIds, static_cast<int>(std::size(kIds)));
  }
  void TearDown() override {
    commands.reset();
    view.display.DestroyWindow();
    view.DestroyWindow();
    owner.reset();
    ReaderApp::TearDown();
  }
  void ShowVolcano() {
    CContentDb& main = App().GetDatabase(1);
    while (const ReTokenBlock* chunk = main.NextToken(apptest::MainEntry("Volcano")))
      ASSERT_TRUE(view.display.AddText(chunk));
  }
  BOOL Command(UINT id) { return commands->OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }
  BOOL Update(UINT id, RecordingCmdUI& ui) { return commands->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr); }
  static std::string ClipboardText() {
    std::string text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT))
      if (const char* bytes = static_cast<const char*>(::GlobalLock(data))) {
        text = bytes;
        ::GlobalUnlock(data);
      }
    ::CloseClipboard();
    return text;
  }

  std::unique_ptr<TestOwner> owner;
  TestArticleView view;
  std::unique_ptr<CArticleCommands> commands;
};

TEST_F(ArticleCommandsOnTheApp, TakesOnlyTheScreensIdsAndLeavesTheScreensOwnRulesToIt) {
  // An id the screen did not give goes on along the route.
  EXPECT_FALSE(Command(kUnknownId));
  RecordingCmdUI ui;
  EXPECT_FALSE(Update(kUnknownId, ui));
  // Add Article and Save have the screen's own enabling rule.
  EXPECT_FALSE(Update(kAddArticleId, ui));
  EXPECT_FALSE(Update(kSaveId, ui));
  EXPECT_FALSE(ui.m_bEnableChanged);
  // Asked only whether it has a handler, it answers without running it.
  AFX_CMDHANDLERINFO info = {nullptr, nullptr};
  EXPECT_TRUE(commands->OnCmdMsg(kNotesId, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, commands.get());
  EXPECT_FALSE(view.display.GetNoteMode());
}

TEST_F(ArticleCommandsOnTheApp, NotesAndHighlightsAreOneModeAtATimeForAnArticleInAFolder) {
  RecordingCmdUI notes;
  ASSERT_TRUE(Update(kNotesId, notes));
  EXPECT_FALSE(notes.enabled);      // no article
  view.article = Article("Comet");  // in the sample's folder Space
  ASSERT_TRUE(Update(kNotesId, notes));
  EXPECT_TRUE(notes.enabled);
  EXPECT_EQ(notes.checked, 0);

  EXPECT_TRUE(Command(kNotesId));
  EXPECT_TRUE(view.display.GetNoteMode());
  EXPECT_TRUE(Command(kHighlightsId));
  EXPECT_FALSE(view.display.GetNoteMode());
  EXPECT_TRUE(view.display.GetHighlightMode());
  RecordingCmdUI highlights;
  ASSERT_TRUE(Update(kHighlightsId, highlights));
  EXPECT_EQ(highlights.checked, 1);
  EXPECT_TRUE(Command(kHighlightsId));
  EXPECT_FALSE(view.display.GetHighlightMode());

  view.article = Article("Volcano");  // in no folder
  ASSERT_TRUE(Update(kHighlightsId, highlights));
  EXPECT_FALSE(highlights.enabled);
}

TEST_F(ArticleCommandsOnTheApp, AddAsksForTheFolderOnlyWhenThereIsSomethingToAdd) {
  const auto pressOk = [](CDialog& dialog) { dialog.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); };
  // Nothing shown, nothing listed: no chooser.
  EXPECT_EQ(WithDialogSteps({pressOk}, [&] { Command(kAddArticleId); }), 0);
  EXPECT_EQ(WithDialogSteps({pressOk}, [&] { Command(kAddSelectedId); }), 0);
  RecordingCmdUI ui;
  ASSERT_TRUE(Update(kAddSelectedId, ui));
  EXPECT_FALSE(ui.enabled);

  const int volcano = Article("Volcano");
  view.article = volcano;
  EXPECT_EQ(WithDialogSteps({pressOk}, [&] { Command(kAddArticleId); }), 1);
  EXPECT_TRUE(App().IsInBookmarkFolder(volcano));

  // The listed articles, all of them, go into the chosen folder; Cancel adds none.
  const int aardvark = Article("Aardvark"), zebra = Article("Zebra");
  CBitString listed(App().GetArticleCount(), TRUE);
  listed.SetBit(aardvark, TRUE, FALSE, 0, 0);
  listed.SetBit(zebra, TRUE, FALSE, 0, 0);
  view.listed = &listed;
  ASSERT_TRUE(Update(kAddSelectedId, ui));
  EXPECT_TRUE(ui.enabled);
  EXPECT_EQ(WithDialogSteps({Cancel()}, [&] { Command(kAddSelectedId); }), 1);
  EXPECT_FALSE(App().IsInBookmarkFolder(aardvark));
  EXPECT_EQ(WithDialogSteps({pressOk}, [&] { Command(kAddSelectedId); }), 1);
  EXPECT_TRUE(App().IsInBookmarkFolder(aardvark));
  EXPECT_TRUE(App().IsInBookmarkFolder(zebra));
}

TEST_F(ArticleCommandsOnTheApp, CopiesTheArticleWithTheNoticesAndNoSelectionLeavesTheClipboard) {
  view.article = Article("Volcano");
  EXPECT_TRUE(Command(kCopyArticleId));
  const std::string copied = ClipboardText();
  const std::string notices = "\r\n-- notices";
  ASSERT_GT(copied.size(), notices.size());
  EXPECT_EQ(copied.substr(copied.size() - notices.size()), notices);
  EXPECT_NE(copied.find("olcano"), std::string::npos);

  ASSERT_TRUE(panels::PutOnClipboard(nullptr, "before"));
  commands->CopySelection();
  EXPECT_EQ(ClipboardText(), "before");
}

// Save replaces the reader's file only with the article and its notices: a
// display that gives no text is refused before a name is asked for, and a
// write that fails is reported; either way the file stays as it was.
TEST_F(ArticleCommandsOnTheApp, SaveLeavesTheFileAsItWasWhenThereIsNothingToWriteOrTheWriteFails) {
  const std::string path = dir.Write("article.txt", "old");
  ui::FileDialogAnswers names(path);
  view.article = Article("Volcano");
  view.display.ResetContent();
  EXPECT_TRUE(Command(kSaveId));
  EXPECT_EQ(names.NamesAsked(), 0);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"There is no text to save."});
  EXPECT_EQ(dir.Read("article.txt"), "old");

  ShowVolcano();
  boxes.Clear();
  ContentSimulateFailures(0, false);
  EXPECT_TRUE(Command(kSaveId));
  ContentSimulateFailures(-1, false);
  EXPECT_EQ(names.NamesAsked(), 1);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Unable to write the file " + path + "."});
  EXPECT_EQ(dir.Read("article.txt"), "old");

  boxes.Clear();
  EXPECT_TRUE(Command(kSaveId));
  EXPECT_TRUE(boxes.Texts().empty());
  const std::string saved = dir.Read("article.txt");
  const std::string notices = "\r\n-- notices";
  ASSERT_GT(saved.size(), notices.size());
  EXPECT_EQ(saved.substr(saved.size() - notices.size()), notices);
}

}  // namespace
}  // namespace paneltest
