// The word find window, the article list panel and the outline panel in the
// started program, on a plain owner window that holds a display.
#include <memory>
#include <string>

#include "display/display.h"
#include "model_fixture.h"
#include "panels/article_list_dlg.h"
#include "panels/media_items_dlg.h"
#include "panels/word_find_dlg.h"
#include "panels_test_owner.h"

namespace paneltest {
namespace {

using apptest::App;
using apptest::Article;
using displaytest::Chunk;
using displaytest::NewLine;
using displaytest::Tok;
using displaytest::W;

class ToolWindowsOnTheApp : public apptest::ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    ASSERT_TRUE(Start());
    boxes.Clear();
    owner = std::make_unique<TestOwner>();
    ASSERT_TRUE(display.Create(owner.get(), CRect(216, 91, 620, 440), WS_CHILD | WS_VISIBLE, CDisplay::kControlId,
                               kSkinEncyclopedia));
  }
  void TearDown() override {
    display.DestroyWindow();
    owner.reset();
    ReaderApp::TearDown();
  }
  void ShowVolcano() {
    ASSERT_TRUE(display.ResetContent());
    CContentDb& main = App().GetDatabase(1);
    while (const ReTokenBlock* chunk = main.NextToken(apptest::MainEntry("Volcano")))
      ASSERT_TRUE(display.AddText(chunk));
  }
  void Show(const std::vector<Tok>& tokens) {
    ASSERT_TRUE(display.ResetContent());
    Chunk chunk(tokens);
    ReTokenBlock block{};
    block.tokenCount = static_cast<u16>(chunk.count());
    block.tokens = const_cast<ReToken*>(chunk.tokens());
    ASSERT_TRUE(display.AddText(&block));
  }

  std::unique_ptr<TestOwner> owner;
  CDisplay display;
};

TEST_F(ToolWindowsOnTheApp, WordFindFindsInTheOwnersDisplayAndClearsItsMarksWhenItCloses) {
  ShowVolcano();
  display.FindWords("volcano", FALSE, TRUE, FALSE);
  ASSERT_GT(display.HasFindHits(), 0);
  CWordFindDlg find;
  ASSERT_TRUE(find.Create(kPanel, IDD_WORD_FIND, owner.get()));
  ui::PumpUntilIdle();
  EXPECT_EQ(find.GetDisplay(), &display);
  EXPECT_EQ(display.HasFindHits(), 0);  // opening clears the old hits
  CRect client;
  find.GetClientRect(&client);
  EXPECT_EQ(client.Size(), kPanel.Size());
  CWnd* findButton = find.GetDlgItem(IDC_FIND);
  CWnd* edit = find.GetDlgItem(IDC_FIND_TEXT);
  EXPECT_FALSE(findButton->IsWindowEnabled());
  EXPECT_EQ(edit->SendMessage(EM_GETLIMITTEXT), 80);
  CRect button;
  findButton->GetWindowRect(&button);
  find.ScreenToClient(&button);
  EXPECT_EQ(button.right, client.right - 15);
  EXPECT_EQ(button.bottom, client.bottom - 20);

  // Enter with an empty edit does nothing.
  find.SendMessage(WM_COMMAND, IDOK);
  EXPECT_TRUE(boxes.all().empty());
  EXPECT_EQ(display.HasFindHits(), 0);

  edit->SetWindowText("erupts volcano");
  EXPECT_TRUE(findButton->IsWindowEnabled());
  Click(find, IDC_FIND);
  EXPECT_GT(display.HasFindHits(), 0);
  EXPECT_TRUE(boxes.all().empty());

  edit->SetWindowText("zyzzyva");
  Click(find, IDC_FIND);
  EXPECT_EQ(display.HasFindHits(), 0);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Unable to find the specified word(s) in the article."});
  EXPECT_EQ(::GetFocus(), edit->m_hWnd);

  edit->SetWindowText("");
  EXPECT_FALSE(findButton->IsWindowEnabled());
  edit->SetWindowText("volcano");
  Click(find, IDC_FIND);
  ASSERT_GT(display.HasFindHits(), 0);
  Click(find, IDC_FIND_CLOSE);
  EXPECT_FALSE(::IsWindow(find.m_hWnd));
  EXPECT_EQ(display.HasFindHits(), 0);  // closing removes the marks
}

TEST_F(ToolWindowsOnTheApp, WordFindOptionsAreStoredAtOnceAndComeBack) {
  ShowVolcano();
  {
    CWordFindDlg find;
    ASSERT_TRUE(find.Create(kPanel, IDD_WORD_FIND, owner.get()));
    auto* matchCase = dynamic_cast<CBmButton*>(CWnd::FromHandlePermanent(find.GetDlgItem(IDC_MATCH_CASE)->m_hWnd));
    ASSERT_NE(matchCase, nullptr);
    EXPECT_FALSE(matchCase->GetCheck());
    Click(find, IDC_MATCH_CASE);
    EXPECT_TRUE(matchCase->GetCheck());
    EXPECT_EQ(settings.Get(InstallationOptions, "MatchCase"), "1");
    Click(find, IDC_WHOLE_WORD);
    Click(find, IDC_WHOLE_WORD);
    EXPECT_EQ(settings.Get(InstallationOptions, "WholeWord"), "0");

    // Match case: "VOLCANO" is not in the text in capitals.
    find.GetDlgItem(IDC_FIND_TEXT)->SetWindowText("VOLCANO");
    Click(find, IDC_FIND);
    EXPECT_EQ(display.HasFindHits(), 0);
    find.DestroyWindow();
  }
  CWordFindDlg again;
  ASSERT_TRUE(again.Create(kPanel, IDD_WORD_FIND, owner.get()));
  auto* matchCase = dynamic_cast<CBmButton*>(CWnd::FromHandlePermanent(again.GetDlgItem(IDC_MATCH_CASE)->m_hWnd));
  auto* wholeWord = dynamic_cast<CBmButton*>(CWnd::FromHandlePermanent(again.GetDlgItem(IDC_WHOLE_WORD)->m_hWnd));
  EXPECT_TRUE(matchCase->GetCheck());
  EXPECT_FALSE(wholeWord->GetCheck());
  again.DestroyWindow();
}

TEST_F(ToolWindowsOnTheApp, TheArticleListOpensEachArticleOnItsScreen) {
  CArticleListDlg list;
  ASSERT_TRUE(list.Create(kPanel, IDD_ARTICLE_LIST, panels::kMediaMode, owner.get()));
  ui::PumpUntilIdle();
  EXPECT_EQ(list.GetMode(), panels::kMediaMode);
  CRect client, rows;
  list.GetClientRect(&client);
  list.ArticleList().GetWindowRect(&rows);
  list.ScreenToClient(&rows);
  EXPECT_EQ(rows.left, 4);
  EXPECT_EQ(rows.top, 56);
  EXPECT_EQ(rows.right, client.right - 4);
  EXPECT_LE(rows.bottom, client.bottom - 10);

  // An empty set: nothing to open.
  list.SetArticles(CBitString(App().GetArticleCount(), FALSE));
  EXPECT_EQ(list.ArticleList().GetArticles().GetSetCount(), 0);
  list.SendMessage(WM_COMMAND, IDOK);
  EXPECT_TRUE(owner->shown.empty());

  CBitString set(App().GetArticleCount(), FALSE);
  set.SetBit(Article("Comet"));           // a media item
  set.SetBit(Article("Photosynthesis"));  // an article
  list.SetArticles(set);
  ASSERT_EQ(list.ArticleList().SelectArticle(Article("Comet")), 1);
  Notify(list, IDC_ARTICLES, LBN_DBLCLK);
  ASSERT_EQ(owner->mediaItems.size(), 1u);
  EXPECT_EQ(owner->mediaItems[0], App().m_multBits.IndexOf(Article("Comet")));
  ASSERT_GE(list.ArticleList().SelectArticle(Article("Photosynthesis")), 1);
  list.SendMessage(WM_COMMAND, IDOK);  // Enter on the current entry
  EXPECT_EQ(owner->shown, std::vector<int>{Article("Photosynthesis")});

  // The focus goes to the list; Esc closes the window.
  list.SetFocus();
  EXPECT_EQ(::GetFocus(), list.ArticleList().m_hWnd);
  list.SendMessage(WM_COMMAND, IDCANCEL);
  EXPECT_FALSE(::IsWindow(list.m_hWnd));
}

TEST_F(ToolWindowsOnTheApp, TheOutlineShowsTheSectionsAndLinksTheChosenOne) {
  const u8 heading = display::kFormatOutlineHeading;
  Show({W("Intro"), Tok{"History", display::kTokenNewLine | display::kTokenJoin, heading, 3}, NewLine("Text"),
        Tok{"Early", display::kTokenNewLine | display::kTokenJoin, 0, 12}, NewLine("More"),
        Tok{"Geography", display::kTokenNewLine | display::kTokenJoin, heading, 3}, NewLine("End")});
  ASSERT_EQ(display.Outline().size(), 3u);

  CMediaItemsDlg outline;
  ASSERT_TRUE(outline.Create(kPanel, owner.get()));
  ui::PumpUntilIdle();
  EXPECT_EQ(outline.GetDisplay(), &display);
  EXPECT_EQ(outline.GetItemCount(), 3);  // no media objects: no "Multimedia Items"
  CRect client, tree;
  outline.GetClientRect(&client);
  outline.Tree().GetWindowRect(&tree);
  outline.ScreenToClient(&tree);
  EXPECT_EQ(tree.left, 4);
  EXPECT_EQ(tree.top, 33);
  EXPECT_EQ(tree.right, client.right - 4);
  EXPECT_EQ(tree.bottom, client.bottom - 10);

  CTreeListBox& items = outline.Tree();
  HTREEITEM history = items.GetRelative(nullptr, CTreeListBox::kRoot);
  ASSERT_NE(history, nullptr);
  EXPECT_EQ(items.GetItemData(history), 0u);
  HTREEITEM early = items.GetRelative(history, CTreeListBox::kChild);
  ASSERT_NE(early, nullptr);
  EXPECT_EQ(items.GetItemData(early), 1u);
  HTREEITEM geography = items.GetRelative(history, CTreeListBox::kNext);
  ASSERT_NE(geography, nullptr);
  EXPECT_EQ(items.GetItemData(geography), 2u);

  // A double click passes the chosen entry's outline index to the owner.
  items.Expand(history, CTreeListBox::kExpand);
  items.SelectItem(early, CTreeListBox::kCaret);
  items.NotifyParent(NM_DBLCLK, nullptr, early);
  EXPECT_EQ(owner->links, std::vector<int>{1});
  // Enter does nothing; Esc closes the window.
  outline.SendMessage(WM_COMMAND, IDOK);
  EXPECT_TRUE(::IsWindow(outline.m_hWnd));
  outline.SendMessage(WM_COMMAND, IDCANCEL);
  EXPECT_FALSE(::IsWindow(outline.m_hWnd));
}

TEST_F(ToolWindowsOnTheApp, TheMultimediaBranchItselfLinksNothing) {
  // A tree with the branch, made from an outline the display could build.
  Show({W("Plain"), NewLine("text")});
  CMediaItemsDlg outline;
  ASSERT_TRUE(outline.Create(kPanel, owner.get()));
  EXPECT_EQ(outline.GetItemCount(), 0);
  CTreeListBox& items = outline.Tree();
  HTREEITEM branch = items.InsertItem("Multimedia Items", 0, 0, static_cast<DWORD_PTR>(-1), TVI_ROOT, TVI_LAST);
  items.SelectItem(branch, CTreeListBox::kCaret);
  items.NotifyParent(NM_DBLCLK, nullptr, branch);
  EXPECT_TRUE(owner->links.empty());
  outline.DestroyWindow();
}

}  // namespace
}  // namespace paneltest
