#include "panels/print_job.h"

#include <algorithm>

#include "core/bookmarks.h"
#include "core/reader_context.h"
#include "display/preview_view.h"
#include "panels/command_routing.h"

namespace {

// In the printer's units: the rule under the header and over the footer
// stands this far from their text, the body this far from the rule.
constexpr int kRuleGap = 50;
constexpr int kBodyGap = 200;

}  // namespace

using panels::PrintCommand;

IMPLEMENT_DYNAMIC(CPrintingFormView, CFormView)

void CPrintingFormView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CFormView::OnPrepareDC(pDC, pInfo);
  PrintJob().PrepareDC(pInfo);
}

CFont* PrintJobOwner::PageFrameFont() const { return Reader().GetFont(FontSerif); }

CPrintJob::CPrintJob(PrintJobOwner& owner, const panels::PrintCommandId* ids, int count)
    : m_owner(owner), m_ids(ids), m_count(count) {}

BOOL CPrintJob::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  return panels::RouteCommand(*this, m_ids, m_count, nID, nCode, pExtra, pHandlerInfo);
}

BOOL CPrintJob::Update(PrintCommand command, CCmdUI* ui) {
  switch (command) {
    case PrintCommand::PrintItem:
    case PrintCommand::PreviewItem: ui->Enable(m_owner.CanPrintItem()); return TRUE;
    case PrintCommand::PrintBookmarks:
    case PrintCommand::PreviewBookmarks: ui->Enable(Reader().m_folders.GetSize() > 0); return TRUE;
    default: return FALSE;  // enabled by having a handler
  }
}

void CPrintJob::Run(PrintCommand command) {
  switch (command) {
    case PrintCommand::PrintItem:
    case PrintCommand::PreviewItem:
      // A button is not greyed with its menu item: the rule holds here too.
      if (m_owner.CanPrintItem()) Print(panels::PrintItem, command == PrintCommand::PreviewItem);
      break;
    case PrintCommand::PrintBookmarks: Print(panels::PrintBookmarkList, FALSE); break;
    case PrintCommand::PreviewBookmarks: Print(panels::PrintBookmarkList, TRUE); break;
    case PrintCommand::PrintAgain: Start(FALSE); break;
    case PrintCommand::PreviewAgain: Start(TRUE); break;
  }
}

void CPrintJob::Print(panels::PrintKind kind, BOOL preview) {
  m_kind = kind;
  Start(preview);
}

void CPrintJob::PrintFolder(int folder, BOOL preview) {
  m_folder = folder;
  Print(panels::PrintOneFolder, preview);
}

void CPrintJob::Start(BOOL preview) {
  CView& view = m_owner.PrintingView();
  if (!preview) {
    view.OnFilePrint();
    return;
  }
  auto* state = new CPrintPreviewState;
  if (!view.DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, &view, RUNTIME_CLASS(CQVEPreviewView), state)) {
    delete state;
    AfxMessageBox(AFX_IDP_COMMAND_FAILURE, MB_ICONEXCLAMATION | MB_OK);
  }
}

// ---- the print loop ------------------------------------------------------------------------

BOOL CPrintJob::Prepare(CPrintInfo* info) {
  DWORD& flags = info->m_pPD->m_pd.Flags;
  flags |= PD_NOPAGENUMS;
  if (m_kind == panels::PrintItem && m_owner.HasPrintableSelection()) {
    flags &= ~static_cast<DWORD>(PD_NOSELECTION);
  } else {
    flags |= PD_NOSELECTION;
  }
  return m_owner.PrintingView().DoPreparePrinting(info);
}

void CPrintJob::Begin(CDC* dc) {
  m_pageStarts.RemoveAll();
  m_pageStarts.Add(0);
  ReaderContext& app = Reader();
  app.GetPrinterMargins(dc);
  app.RecreateArticleFonts(FALSE, dc);
}

void CPrintJob::PrepareDC(CPrintInfo* info) const {
  if (info != nullptr) info->m_bContinuePrinting = info->m_nCurPage <= static_cast<UINT>(m_pageStarts.GetSize());
}

void CPrintJob::End() {
  m_pageStarts.RemoveAll();
  Reader().RecreateArticleFonts(FALSE, nullptr);
}

void CPrintJob::PrintPage(CDC* dc, CPrintInfo* info) {
  const UINT index = info->m_nCurPage - 1;
  if (index >= static_cast<UINT>(m_pageStarts.GetSize())) return;
  const CRect page = info->m_rectDraw;
  const CRect body = DrawPageFrame(dc, *info);
  const int start = static_cast<int>(m_pageStarts[static_cast<int>(index)]);
  // The body printers lay out within the rectangle they are given and leave
  // the DC as they found it.
  info->m_rectDraw = body;
  const int saved = dc->SaveDC();
  const int next = PrintBody(dc, info, start);
  dc->RestoreDC(saved);
  info->m_rectDraw = page;
  // A body printer that made no progress would print the same page for ever.
  if (index + 1 == static_cast<UINT>(m_pageStarts.GetSize()) && next != -1 && next != start)
    m_pageStarts.Add(static_cast<DWORD>(next));
}

int CPrintJob::PrintBody(CDC* dc, CPrintInfo* info, int start) {
  switch (m_kind) {
    case panels::PrintItem: return m_owner.PrintItemPage(dc, info, start);
    case panels::PrintBookmarkList: return Reader().PrintListPage(dc, info, start);
    case panels::PrintOneFolder: return Reader().PrintListPage2(dc, info, m_folder, start);
  }
  return -1;
}

CString CPrintJob::Heading() const {
  if (m_kind == panels::PrintItem) return m_owner.PrintedItemTitle();
  if (m_kind == panels::PrintBookmarkList) return "Bookmark List";
  const CObArray& folders = Reader().m_folders;
  if (m_folder < 0 || m_folder >= folders.GetSize()) return "";
  return static_cast<const CFolder*>(folders[m_folder])->m_name;
}

CRect CPrintJob::DrawPageFrame(CDC* dc, const CPrintInfo& info) const {
  const CRect& margins = Reader().m_printMargins;
  CRect page = info.m_rectDraw;
  page.DeflateRect(margins.left, margins.top, margins.right, margins.bottom);
  CFont* old = dc->SelectObject(m_owner.PageFrameFont());
  TEXTMETRIC metrics = {};
  dc->GetTextMetrics(&metrics);

  // The title at the left, the page's number at the right, a rule under them.
  CString number;
  number.Format("Page %u", info.m_nCurPage);
  dc->SetTextAlign(TA_LEFT | TA_TOP);
  dc->TextOut(page.left, page.top, Heading());
  dc->SetTextAlign(TA_RIGHT | TA_TOP);
  dc->TextOut(page.right, page.top, number);
  dc->SetTextAlign(TA_LEFT | TA_TOP);
  const int headRule = page.top + metrics.tmHeight + kRuleGap;
  dc->MoveTo(page.left, headRule);
  dc->LineTo(page.right, headRule);

  // The notices upwards from the bottom, a line apart, and a rule over them.
  const std::vector<CString> notices = m_owner.PrintedNotices(m_kind);
  const int line = metrics.tmHeight + metrics.tmExternalLeading;
  int top = page.bottom - metrics.tmHeight + line;
  for (auto notice = notices.rbegin(); notice != notices.rend(); ++notice) {
    top -= line;
    dc->TextOut(page.left, top, *notice);
  }
  const int footRule = top - metrics.tmExternalLeading - kRuleGap;
  dc->MoveTo(page.left, footRule);
  dc->LineTo(page.right, footRule);
  dc->SelectObject(old);

  const int bodyTop = headRule + kBodyGap;
  return CRect(page.left, bodyTop, page.right, std::max(footRule - kBodyGap, bodyTop));
}
