// The media gallery's tool windows, its Search History and Bookmark menus,
// filing items in folders, and printing (the item, the bookmark list, one
// folder).
#include <algorithm>

#include "core/bookmarks.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "core/title_key.h"
#include "display/preview_view.h"
#include "media/gallery/picture_view.h"
#include "media/media_logic.h"
#include "packed_dib.h"
#include "panels/bookmark_dlg.h"
#include "panels/item_router.h"
#include "panels/tool_panel_host.h"
#include "reader/media_ids.h"
#include "reader/panels_ids.h"
#include "search/related_queries.h"
#include "search/results_dlg.h"
#include "search/search_dlg.h"
#include "search/smart_search_dlg.h"
#include "search/subjects_dlg.h"
#include "search/tuner_dlg.h"

namespace {

constexpr int FixedBookmarkItems = 6;
constexpr int HistoryPosition = 4;
constexpr UINT PreviewToolbar = 30723;
constexpr UINT CommandFailed = 61705;
constexpr int HeaderGap = 50;
constexpr int AreaGap = 200;

const char* const PublisherNotice = "Copyright Brenmoor & Tesk. All rights reserved.";
const char* const PropertyNotice =
    "Each of the multimedia items are the sole property of the agents noted in the captions.";
const char* const CommercialNotice = "Any commercial use is strictly forbidden.";

// The search windows take their rectangle in the main frame's client
// coordinates.
CRect InFrameClient(CWnd& frame, const CRect& screenRect) {
  CRect rect = screenRect;
  frame.ScreenToClient(&rect);
  return rect;
}

}  // namespace

// --- tool windows ---

BOOL CViewPicture::IsToolOpen(ToolPanel kind) const {
  if (kind == ToolPanel::MediaSubjects) return m_subjectPanel.GetSafeHwnd() != nullptr;
  return m_tools.IsOpen(kind);
}

CWnd* CViewPicture::GetToolWindow(ToolPanel kind) const {
  if (kind == ToolPanel::MediaSubjects) return nullptr;
  return m_tools.IsOpen(kind) ? m_tools.Get(kind) : nullptr;
}

void CViewPicture::CloseToolWindow(ToolPanel kind) {
  if (!IsToolOpen(kind)) return;
  CWnd* window = kind == ToolPanel::MediaSubjects ? &m_subjectPanel : m_tools.Get(kind);
  if (kind != ToolPanel::MediaSubjects) {
    // The next tool window opens where this one was: its client area, which
    // the next window takes as its own (the outer rectangle would grow the
    // window by its border at each reopening).
    CRect rect;
    window->GetClientRect(&rect);
    window->ClientToScreen(&rect);
    m_toolRect = rect;
  }
  window->DestroyWindow();
}

void CViewPicture::CloseOtherTools(ToolPanel keep) {
  for (ToolPanel kind : kPanels)
    if (kind != keep) CloseToolWindow(kind);
}

BOOL CViewPicture::CreateSharedTool(ToolPanel kind, const CRect& rect) {
  ReaderShell* shell = GetReaderShell();
  if (!shell) return FALSE;
  CWnd* main = AfxGetMainWnd();  // the shell's window owns them
  // Each window gets a new object; the one before (whose window is gone)
  // goes with it.
  std::unique_ptr<CWnd>& object = m_tools.Slot(kind);
  BOOL made = FALSE;
  switch (kind) {
    case ToolPanel::Results: {
      auto results = std::make_unique<CResultsDlg>();
      made = results->Create(InFrameClient(*main, rect), CResultsDlg::kMediaTemplate,
                             shell->Queries().GetCurrentKind() == 1 ? 1 : 0, main, &shell->Queries().GetCurrentTerms(),
                             shell->Queries().GetCurrentText());
      object = std::move(results);
      break;
    }
    case ToolPanel::Contents: {
      auto contents = std::make_unique<CSubjectsDlg>();
      made = contents->Create(InFrameClient(*main, rect), CSubjectsDlg::kMediaTemplate, main, FALSE);
      object = std::move(contents);
      break;
    }
    case ToolPanel::Bookmarks: {
      auto bookmarks = std::make_unique<CBookmarkDlg>();
      made = bookmarks->Create(rect, IDD_BOOKMARK_LIST_POPUP, main);
      object = std::move(bookmarks);
      break;
    }
    case ToolPanel::Smart: {
      auto smart = std::make_unique<CSmartSearchDlg>();
      made = smart->Create(InFrameClient(*main, rect), CSmartSearchDlg::kMediaTemplate, main);
      object = std::move(smart);
      break;
    }
    case ToolPanel::Boolean: {
      auto boolean = std::make_unique<CSearchDlg>();
      made = boolean->Create(InFrameClient(*main, rect), CSearchDlg::kMediaTemplate, main);
      object = std::move(boolean);
      break;
    }
    default: break;  // the subject panel is the view's own; the Tuner comes with its query (OpenAdvancedSearch)
  }
  if (!made || !IsPanelOpen(object.get())) return FALSE;
  if (auto* panel = dynamic_cast<CSearchPanel*>(object.get())) panel->SetPalette(m_pPalette);
  return TRUE;
}

void CViewPicture::OpenTool(ToolPanel kind) {
  if (IsToolOpen(kind)) return;
  CloseOtherTools(kind);
  CWnd* owner = AfxGetMainWnd();
  if (kind == ToolPanel::MediaSubjects) {
    m_subjectPanel.Create(m_toolRect, owner, this);
    m_subjectPanel.SetPalette(m_pPalette);
    return;
  }
  CreateSharedTool(kind, m_toolRect);
}

void CViewPicture::ComputeToolRect() {
  CRect rect(2, 50, 211, 400);
  if (CWnd* main = AfxGetMainWnd()) main->ClientToScreen(&rect);
  rect.OffsetRect(6 - rect.left, 0);
  m_toolRect = rect;
}

void CViewPicture::OnSubjects() { OpenTool(ToolPanel::MediaSubjects); }
void CViewPicture::OnSmartSearch() { OpenTool(ToolPanel::Smart); }
void CViewPicture::OnBooleanSearch() { OpenTool(ToolPanel::Boolean); }

void CViewPicture::OnContents() {
  if (ToolPanelHost* host = GetToolPanelHost()) host->OpenContents();
}

void CViewPicture::OnViewBookmarks() {
  if (ToolPanelHost* host = GetToolPanelHost()) host->OpenBookmarks();
}

LRESULT CViewPicture::OnShowContents(WPARAM, LPARAM) {
  if (IsToolOpen(ToolPanel::Contents))
    m_tools.Get(ToolPanel::Contents)->SendMessage(WM_REFRESHLIST);
  else
    OpenTool(ToolPanel::Contents);
  return 0;
}

LRESULT CViewPicture::OnShowBookmarks(WPARAM, LPARAM) {
  if (IsToolOpen(ToolPanel::Bookmarks))
    m_tools.Get(ToolPanel::Bookmarks)->SendMessage(WM_REFRESHLIST);
  else
    OpenTool(ToolPanel::Bookmarks);
  return 0;
}

LRESULT CViewPicture::OnShowResults(WPARAM wParam, LPARAM) {
  ReaderShell* shell = GetReaderShell();
  auto* results = dynamic_cast<CResultsDlg*>(m_tools.Get(ToolPanel::Results));
  if (IsToolOpen(ToolPanel::Results) && results && shell &&
      shell->Queries().IsCurrentQuery(results->GetQuery(), results->IsRanked())) {
    m_tools.Get(ToolPanel::Results)->SendMessage(WM_REFRESHLIST);
    return 0;
  }
  CWaitCursor wait;
  if (wParam == 0) RebuildHistoryMenu();
  for (ToolPanel kind : kPanels) CloseToolWindow(kind);
  CreateSharedTool(ToolPanel::Results, m_toolRect);
  return 0;
}

void CViewPicture::HidePanel(ScreenPanel panel) {
  const ToolPanel kind = panel == ScreenPanel::Results    ? ToolPanel::Results
                         : panel == ScreenPanel::Contents ? ToolPanel::Contents
                                                          : ToolPanel::Bookmarks;
  CloseToolWindow(kind);
}

void CViewPicture::OpenAdvancedSearch(const CString& query, const CStringArray& terms) {
  ReaderShell* shell = GetReaderShell();
  if (!shell) return;
  CRect rect = m_toolRect;
  if (IsToolOpen(ToolPanel::Smart)) {
    // Smart Search asks from inside its own handler: its window goes, its
    // object stays until the next Smart Search window.
    m_tools.Get(ToolPanel::Smart)->GetClientRect(&rect);
    m_tools.Get(ToolPanel::Smart)->ClientToScreen(&rect);
    m_tools.Get(ToolPanel::Smart)->DestroyWindow();
  }
  CloseToolWindow(ToolPanel::Tuner);
  auto tuner = std::make_unique<CTunerDlg>();
  CWnd* main = AfxGetMainWnd();
  const BOOL made = tuner->Create(InFrameClient(*main, rect), CTunerDlg::kMediaTemplate, main, query, terms);
  m_tools.Slot(ToolPanel::Tuner) = std::move(tuner);
  if (!made || !IsToolOpen(ToolPanel::Tuner)) return;
  m_tools.Get(ToolPanel::Tuner)->SetFocus();
}

void CViewPicture::SaveSearchState(SearchState& state) {
  m_tools.SaveStates(state, {ToolPanel::Results, ToolPanel::Contents, ToolPanel::Bookmarks});
}

// --- menus ---

CMenu* CViewPicture::FindPopup(const char* text) {
  if (!m_menu.m_hMenu) return nullptr;
  for (int i = 0; i < m_menu.GetMenuItemCount(); ++i) {
    CString name;
    m_menu.GetMenuString(static_cast<UINT>(i), name, MF_BYPOSITION);
    if (name == text) return m_menu.GetSubMenu(i);
  }
  return nullptr;
}

void CViewPicture::RebuildHistoryMenu() {
  if (CMenu* search = FindPopup("&Search")) search::FillSearchHistory(*search, HistoryPosition, ID_HISTORY_FIRST);
}

// The newest query is the first item (one step back).
void CViewPicture::OnHistory(UINT id) { search::RecallHistoryCommand(id, ID_HISTORY_FIRST); }

void CViewPicture::RebuildBookmarkMenu() {
  CMenu* bookmarks = FindPopup("&Bookmark");
  if (!bookmarks) return;
  Reader().FillBookmarkMenu(*bookmarks, FixedBookmarkItems, ID_BOOKMARK_FIRST, ID_MEDIA_VIEW_BOOKMARKS);
  if (IsToolOpen(ToolPanel::Bookmarks)) m_tools.Get(ToolPanel::Bookmarks)->PostMessage(WM_BITSCHANGED, 1, 0);
  if (m_subjectPanel.GetSafeHwnd()) m_subjectPanel.GetTitles().Invalidate();
  for (ToolPanel kind : {ToolPanel::Contents, ToolPanel::Results})
    if (IsToolOpen(kind)) m_tools.Get(kind)->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT CViewPicture::OnBitsChanged(WPARAM, LPARAM) {
  RebuildBookmarkMenu();
  return 0;
}

void CViewPicture::OnBookmarkEntry(UINT id) {
  const int f = static_cast<int>(id - ID_BOOKMARK_FIRST) / 10, i = static_cast<int>(id - ID_BOOKMARK_FIRST) % 10;
  ReaderContext& app = Reader();
  if (f >= app.m_folders.GetSize()) return;
  const int article = static_cast<const CFolder*>(app.m_folders[f])->m_articles.GetAt(i + 1);
  if (article <= 0) return;
  if (app.m_multBits.Test(article)) {
    PushCurrent();
    m_item = app.m_multBits.IndexOf(article);
    ShowItem();
    return;
  }
  panels::ShowOnItsScreen(article);
}

// --- filing ---

BOOL ChooseBookmarkFolder(CWnd* owner, int& folder);

void CViewPicture::OnAddArticle() {
  const int article = CurrentArticle();
  int folder = -1;
  if (article <= 0 || !ChooseBookmarkFolder(this, folder)) return;
  Reader().SetInFolder(folder, article, TRUE);
}

void CViewPicture::OnAddSelected() {
  const CBitString* set = nullptr;
  CBitString selected;
  if (IsToolOpen(ToolPanel::Results)) {
    if (auto* results = dynamic_cast<CResultsDlg*>(m_tools.Get(ToolPanel::Results))) {
      selected = results->List().GetSelection();
      set = &selected;
    }
  } else if (IsToolOpen(ToolPanel::Contents)) {
    if (auto* contents = dynamic_cast<CSubjectsDlg*>(m_tools.Get(ToolPanel::Contents))) {
      selected = contents->List().GetSelection();
      set = &selected;
    }
  } else if (m_subjectPanel.GetSafeHwnd()) {
    selected = m_subjectPanel.GetSelectedArticles();
    set = &selected;
  }
  int folder = -1;
  if (!set || !ChooseBookmarkFolder(this, folder)) return;
  Reader().AddToFolder(folder, *set, TRUE);
}

void CViewPicture::OnUpdateAddSelected(CCmdUI* pCmdUI) {
  pCmdUI->Enable(IsToolOpen(ToolPanel::Results) || IsToolOpen(ToolPanel::MediaSubjects) ||
                 IsToolOpen(ToolPanel::Contents));
}

// --- printing ---

void CViewPicture::OnUpdatePrint(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsPanoramaShown()); }

void CViewPicture::OnUpdateBookmarkPrint(CCmdUI* pCmdUI) { pCmdUI->Enable(Reader().m_folders.GetSize() > 0); }

void CViewPicture::RunPrint(int mode, BOOL preview) {
  m_printMode = mode;
  if (!preview) {
    OnFilePrint();
    return;
  }
  auto* state = new CPrintPreviewState;
  if (!DoPrintPreview(PreviewToolbar, this, RUNTIME_CLASS(CQVEPreviewView), state)) {
    delete state;
    AfxMessageBox(CommandFailed);
  }
}

void CViewPicture::OnPrintItem() {
  if (!IsPanoramaShown()) RunPrint(PrintItem, FALSE);
}
void CViewPicture::OnPreviewItem() {
  if (!IsPanoramaShown()) RunPrint(PrintItem, TRUE);
}
void CViewPicture::OnPrintBookmarks() { RunPrint(PrintBookmarks, FALSE); }
void CViewPicture::OnPreviewBookmarks() { RunPrint(PrintBookmarks, TRUE); }

void CViewPicture::ShowArticle(int article) {
  ReaderShell* shell = GetReaderShell();
  if (article > 0 && shell != nullptr) shell->ShowItem(Screen::Browser, article);
}

void CViewPicture::PrintBookmarkFolder(int folder, BOOL preview) {
  if (preview)
    PreviewBookmarkFolder(folder);
  else
    PrintBookmarkFolder(folder);
}

void CViewPicture::PrintBookmarkFolder(int folder) {
  Reader().m_printFolder = folder;
  RunPrint(PrintFolder, FALSE);
}

void CViewPicture::PreviewBookmarkFolder(int folder) {
  Reader().m_printFolder = folder;
  RunPrint(PrintFolder, TRUE);
}

BOOL CViewPicture::OnPreparePrinting(CPrintInfo* pInfo) {
  pInfo->m_pPD->m_pd.Flags |= PD_NOPAGENUMS;
  if (m_printMode == PrintItem) pInfo->SetMaxPage(1);
  return DoPreparePrinting(pInfo);
}

void CViewPicture::OnBeginPrinting(CDC* pDC, CPrintInfo*) {
  m_pageStarts.RemoveAll();
  if (m_printMode != PrintItem) m_pageStarts.Add(0);
  Reader().GetPrinterMargins(pDC);
  Reader().RecreateArticleFonts(FALSE, pDC);
}

void CViewPicture::OnEndPrinting(CDC*, CPrintInfo*) {
  m_pageStarts.RemoveAll();
  Reader().RecreateArticleFonts(FALSE, nullptr);
}

void CViewPicture::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CFormView::OnPrepareDC(pDC, pInfo);
  if (!pInfo || m_printMode == PrintItem) return;
  pInfo->m_bContinuePrinting = pInfo->m_nCurPage <= static_cast<UINT>(m_pageStarts.GetSize());
}

CRect CViewPicture::PrintFrame(CDC* pDC, CPrintInfo* pInfo, const CRect& pageRect) {
  ReaderContext& app = Reader();
  CRect page = pageRect;
  page.left += app.m_printMargins.left;
  page.top += app.m_printMargins.top;
  page.right -= app.m_printMargins.right;
  page.bottom -= app.m_printMargins.bottom;
  // The header and footer in the shared print font, which the job made for
  // the printer: the screens' header fonts are fixed pixels, a speck on paper.
  CFont* old = pDC->SelectObject(app.GetFont(FontSerif));
  TEXTMETRIC metrics = {};
  pDC->GetTextMetrics(&metrics);
  CString title = m_printMode == PrintItem        ? m_title
                  : m_printMode == PrintBookmarks ? CString("Bookmark List")
                                                  : CString();
  if (m_printMode == PrintFolder && app.m_printFolder >= 0 && app.m_printFolder < app.m_folders.GetSize())
    title = static_cast<const CFolder*>(app.m_folders[app.m_printFolder])->m_name;
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextAlign(TA_LEFT | TA_TOP);
  pDC->TextOut(page.left, page.top, title);
  CString number;
  number.Format("Page %u", pInfo->m_nCurPage);
  pDC->SetTextAlign(TA_RIGHT | TA_TOP);
  pDC->TextOut(page.right, page.top, number);
  pDC->SetTextAlign(TA_LEFT | TA_TOP);
  const int rule = page.top + metrics.tmHeight + HeaderGap;
  pDC->MoveTo(page.left, rule);
  pDC->LineTo(page.right, rule);
  CRect area(page.left, rule + AreaGap, page.right, page.bottom);

  // The footer, from the bottom up.
  const int line = metrics.tmHeight + metrics.tmExternalLeading;
  int y = page.bottom - line;
  if (m_printMode == PrintItem) {
    pDC->TextOut(page.left, y, CommercialNotice);
    y -= line;
    pDC->TextOut(page.left, y, PropertyNotice);
    y -= line;
  }
  pDC->TextOut(page.left, y, PublisherNotice);
  const int footRule = y - metrics.tmExternalLeading - HeaderGap;
  pDC->MoveTo(page.left, footRule);
  pDC->LineTo(page.right, footRule);
  area.bottom = std::max<int>(footRule - AreaGap, area.top);
  pDC->SelectObject(old);
  return area;
}

void CViewPicture::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
  const CRect area = PrintFrame(pDC, pInfo, pInfo->m_rectDraw);
  if (m_printMode == PrintItem) {
    DrawPrintedImage(pDC, area);
    return;
  }
  const UINT page = pInfo->m_nCurPage;
  if (page == 0 || page > static_cast<UINT>(m_pageStarts.GetSize())) return;
  const CRect saved = pInfo->m_rectDraw;
  pInfo->m_rectDraw = area;
  const int start = static_cast<int>(m_pageStarts[page - 1]);
  ReaderContext& app = Reader();
  const int next =
      m_printMode == PrintBookmarks ? app.PrintListPage(pDC, pInfo, start) : app.PrintListPage2(pDC, pInfo, start);
  pInfo->m_rectDraw = saved;
  if (page == static_cast<UINT>(m_pageStarts.GetSize()) && next != -1) m_pageStarts.Add(static_cast<DWORD>(next));
}

void CViewPicture::DrawPrintedImage(CDC* pDC, const CRect& area) {
  // A movie's current frame, else the item's picture; nothing when neither
  // can be had.
  if (m_item == NoItem) return;
  HGLOBAL dib = nullptr, second = nullptr;
  if (m_bMovie)
    dib = m_movie.GetSafeHwnd() ? m_movie.CopyCurrentFrame() : nullptr;
  else if (!Reader().GetDatabase(1).LoadPictureDib(static_cast<UINT>(m_item), &dib, &second))
    dib = nullptr;
  if (!dib) return;
  const auto* header = static_cast<const BYTE*>(::GlobalLock(dib));
  if (const auto layout = LayOutPackedDib(header, ::GlobalSize(dib))) {
    const int w = layout->width, h = static_cast<int>(layout->rows);
    const CRect image = media_logic::FitPrintedImage(area, w, h);
    CPalette* palette = &Reader().m_palette;
    CPalette* old = palette->m_hObject ? pDC->SelectPalette(palette, FALSE) : nullptr;
    pDC->RealizePalette();
    pDC->SetStretchBltMode(COLORONCOLOR);
    ::StretchDIBits(pDC->m_hDC, image.left, image.top, image.Width(), image.Height(), 0, 0, w, h,
                    header + layout->bitsOffset, reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, SRCCOPY);
    if (old) pDC->SelectPalette(old, FALSE);
  }
  ::GlobalUnlock(dib);
  ::GlobalFree(dib);
}
