// Where the encyclopedia screen meets the windows of the other screens and
// of the tool panels. Each function is the one place a window class of its
// own module is named.
#include "browser/browser.h"
#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "panels/article_list_dlg.h"
#include "panels/bookmark_dlg.h"
#include "panels/folder_dlgs.h"
#include "panels/item_router.h"
#include "panels/media_items_dlg.h"
#include "panels/word_find_dlg.h"
#include "search/results_dlg.h"
#include "search/search_dlg.h"
#include "search/smart_search_dlg.h"
#include "search/subjects_dlg.h"
#include "search/tuner_dlg.h"

CBrowser::ToolMaker CBrowser::s_toolMaker = nullptr;

namespace {

// The object of the slot as a `Panel`: the one made before, or a new one in
// place of an object of another class (whose window is gone by now).
template <typename Panel>
Panel& PanelIn(std::unique_ptr<CWnd>& tool) {
  if (auto* panel = dynamic_cast<Panel*>(tool.get())) return *panel;
  auto made = std::make_unique<Panel>();
  Panel& panel = *made;
  tool = std::move(made);
  return panel;
}

}  // namespace

BOOL CBrowser::CreateToolWindow(const ToolRequest& request) {
  std::unique_ptr<CWnd>& tool = m_tools.Slot(request.kind);
  if (tool && tool->m_hWnd) tool->DestroyWindow();
  if (!MakeToolWindow(request, tool) || !tool || !tool->m_hWnd) return FALSE;
  tool->MoveWindow(m_panel);
  tool->ShowWindow(SW_SHOW);
  return TRUE;
}

// Makes (on first use) the object of the requested window and creates its
// window in the panel rectangle with this screen as owner and the request's
// mode, articles, terms and text. The windows: results (template 3005),
// contents and subjects (2056), bookmark list (1085), Boolean search (2001),
// Smart Search (4051), Tuner (1037), article list (1115), word find (3009),
// media items and outline (4064). A Smart Search result (query kind 1) is
// listed ranked.
BOOL CBrowser::MakeToolWindow(const ToolRequest& request, std::unique_ptr<CWnd>& tool) {
  if (s_toolMaker) return s_toolMaker(this, request, tool);
  const UINT templateId = ToolWindowTemplate(request.kind);
  static const CStringArray kNoTerms;
  const CStringArray& terms = request.terms ? *request.terms : kNoTerms;
  switch (request.kind) {
    case ToolPanel::Results: {
      ReaderShell* shell = GetReaderShell();
      const int ranked = shell && shell->Queries().GetCurrentKind() == 1 ? 1 : 0;
      return PanelIn<CResultsDlg>(tool).Create(m_panel, templateId, ranked, this, &terms, request.text);
    }
    case ToolPanel::Contents: return PanelIn<CSubjectsDlg>(tool).Create(m_panel, templateId, this, request.mode);
    case ToolPanel::Boolean: return PanelIn<CSearchDlg>(tool).Create(m_panel, templateId, this);
    case ToolPanel::Smart: return PanelIn<CSmartSearchDlg>(tool).Create(m_panel, templateId, this);
    case ToolPanel::Tuner: return PanelIn<CTunerDlg>(tool).Create(m_panel, templateId, this, request.text, terms);
    case ToolPanel::Bookmarks: return PanelIn<CBookmarkDlg>(tool).Create(m_panel, templateId, this);
    case ToolPanel::ArticleList: {
      CArticleListDlg& list = PanelIn<CArticleListDlg>(tool);
      if (!list.Create(m_panel, templateId, request.mode, this)) return FALSE;
      if (request.articles) list.SetArticles(*request.articles);
      return TRUE;
    }
    case ToolPanel::WordFind: return PanelIn<CWordFindDlg>(tool).Create(m_panel, templateId, this);
    case ToolPanel::Outline: return PanelIn<CMediaItemsDlg>(tool).Create(m_panel, this);
    default: break;  // the kinds of the other screens
  }
  return FALSE;
}

// The folder chooser of the bookmark windows: TRUE with the chosen folder
// after OK.
BOOL CBrowser::ChooseFolder(int& folder) {
  folder = -1;
  CNewFolderDlg chooser(this);
  if (chooser.DoModal() != IDOK) return FALSE;
  if (chooser.m_selection < 0 || chooser.m_selection >= Reader().m_folders.GetSize()) return FALSE;
  folder = chooser.m_selection;
  return TRUE;
}

// The selected articles of the results window, else of the contents and
// subjects window, else of the article list panel (the first that is open).
BOOL CBrowser::GetSelectedArticles(CBitString& articles) {
  articles.Clear();
  if (IsToolOpen(ToolPanel::Results))
    if (auto* results = dynamic_cast<CResultsDlg*>(GetToolWindow(ToolPanel::Results))) {
      articles = results->List().GetSelection();
      return TRUE;
    }
  if (IsToolOpen(ToolPanel::Contents))
    if (auto* contents = dynamic_cast<CSubjectsDlg*>(GetToolWindow(ToolPanel::Contents))) {
      articles = contents->List().GetSelection();
      return TRUE;
    }
  if (IsToolOpen(ToolPanel::ArticleList))
    if (auto* list = dynamic_cast<CArticleListDlg*>(GetToolWindow(ToolPanel::ArticleList))) {
      articles = list->ArticleList().GetSelection();
      return TRUE;
    }
  return FALSE;
}

// The timeline and dictionary screens show the article after the switch
// (through their ItemScreen operation).
void CBrowser::ShowOnTimeline(int article) { panels::ShowOnScreen(panels::ItemKind::TimelineEvent, article); }

void CBrowser::ShowInDictionary(int article) { panels::ShowOnScreen(panels::ItemKind::DictionaryEntry, article); }
