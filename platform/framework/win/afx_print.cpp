#include "afx_print.h"

#include "afx_menu.h"

namespace {

BOOL userAbort = FALSE;
HWND printingDialog = nullptr;

// The printer's abort procedure: keeps the status dialog alive while pages
// spool, and stops the job once Cancel was pressed.
BOOL CALLBACK AbortProc(HDC, int) {
  MSG msg;
  while (!userAbort && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (printingDialog == nullptr || !::IsDialogMessageA(printingDialog, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  return !userAbort;
}

// The status dialog of a print job: the document name, the page, Cancel.
class CPrintingDialog : public CDialog {
 public:
  CPrintingDialog() : CDialog(AFX_IDD_PRINTING) {}
  void OnCancel() override {
    userAbort = TRUE;
    CDialog::OnCancel();
  }
  void PostNcDestroy() override { printingDialog = nullptr; }
};

// The preview's tool bar hands its buttons' commands to the preview view.
class CPreviewToolBar : public CDialog {
 public:
  explicit CPreviewToolBar(CPreviewView* pView) : m_pView(pView) {}
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    return m_pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
  void OnOK() override {}
  void OnCancel() override { m_pView->ClosePreview(); }
  LRESULT OnIdleUpdate(WPARAM, LPARAM) {
    UpdateDialogControls(m_pView, FALSE);
    return 0;
  }
  DECLARE_MESSAGE_MAP()

 private:
  CPreviewView* m_pView;
};

BEGIN_MESSAGE_MAP(CPreviewToolBar, CDialog)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

bool IsPrinterDC(CDC* pDC) {
  const int technology = pDC->GetDeviceCaps(TECHNOLOGY);
  return technology == DT_RASPRINTER || technology == DT_PLOTTER;
}

// The page in device units: the printable area of a printer, the bitmap of a
// memory DC (a page printed into a picture), else the device's surface.
CSize PageSize(HDC hDC) {
  if (::GetObjectType(hDC) == OBJ_MEMDC) {
    BITMAP bitmap = {};
    if (::GetObjectA(::GetCurrentObject(hDC, OBJ_BITMAP), sizeof bitmap, &bitmap) != 0 && bitmap.bmWidth > 1) {
      return CSize(bitmap.bmWidth, bitmap.bmHeight);
    }
  }
  return CSize(::GetDeviceCaps(hDC, HORZRES), ::GetDeviceCaps(hDC, VERTRES));
}

}  // namespace

IMPLEMENT_DYNAMIC(CPreviewDC, CDC)
IMPLEMENT_DYNCREATE(CPreviewView, CScrollView)

BOOL AfxPrintAborted() { return userAbort; }

// ---- CPrintInfo

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_NOSELECTION | PD_RETURNDC)) {
  SetMinPage(1);
  SetMaxPage(0xFFFF);
  m_pPD->m_pd.nFromPage = 1;
  m_pPD->m_pd.nToPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo() {
  if (m_pPD->m_pd.hDC != nullptr) ::DeleteDC(m_pPD->m_pd.hDC);
  delete m_pPD;
}

// ---- printing

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
  CWinApp* app = AfxGetApp();
  PRINTDLGA& pd = pInfo->m_pPD->m_pd;
  if (pInfo->m_bPreview || pInfo->m_bDirect) {
    // No dialog: the current printer.
    CDC printer;
    if (app == nullptr || !app->CreatePrinterDC(printer)) return FALSE;
    pd.hDC = printer.Detach();
    return TRUE;
  }
  pd.Flags |= PD_RETURNDC;
  if (app == nullptr || app->DoPrintDialog(pInfo->m_pPD) != IDOK) return FALSE;
  pd.hDevMode = pd.hDevNames = nullptr;  // kept by the application
  return pd.hDC != nullptr;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }

BOOL CView::PrintPages(CDC* pDC, CPrintInfo* pInfo) {
  const bool printer = IsPrinterDC(pDC);
  pDC->m_bPrinting = TRUE;
  OnBeginPrinting(pDC, pInfo);
  BOOL ok = TRUE;
  const UINT last = pInfo->GetToPage();
  for (pInfo->m_nCurPage = pInfo->GetFromPage(); pInfo->m_nCurPage <= last; ++pInfo->m_nCurPage) {
    pInfo->m_bContinuePrinting = TRUE;
    OnPrepareDC(pDC, pInfo);
    if (!pInfo->m_bContinuePrinting) break;
    if (printingDialog != nullptr) {
      CString text;
      if (!text.LoadString(AFX_IDS_PRINTING_PAGE)) text = "Page %u";
      CString page;
      page.Format(text, pInfo->m_nCurPage);
      ::SetDlgItemTextA(printingDialog, AFX_IDC_PRINT_PAGENUM, page);
    }
    const CSize page = PageSize(pDC->m_hAttribDC);
    pInfo->m_rectDraw.SetRect(0, 0, page.cx, page.cy);
    pDC->DPtoLP(&pInfo->m_rectDraw);
    if (printer && pDC->StartPage() <= 0) {
      ok = FALSE;
      break;
    }
    OnPrint(pDC, pInfo);
    if (printer && pDC->EndPage() <= 0) {
      ok = FALSE;
      break;
    }
    if (userAbort) {
      ok = FALSE;
      break;
    }
  }
  OnEndPrinting(pDC, pInfo);
  return ok;
}

void CView::OnFilePrint() {
  CPrintInfo info;
  if (!OnPreparePrinting(&info)) return;
  CDC dc;
  dc.Attach(info.m_pPD->m_pd.hDC);
  info.m_pPD->m_pd.hDC = nullptr;  // dc owns it now
  dc.m_bPrinting = TRUE;

  CString output;
  if (info.m_pPD->PrintToFile()) {
    CFileDialog file(FALSE, "prn", "output.prn", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     "Printer Files (*.prn)|*.prn|All Files (*.*)|*.*||");
    if (file.DoModal() != IDOK) return;
    output = file.GetPathName();
  }
  CString title = m_pDocument != nullptr ? m_pDocument->GetTitle() : CString();
  if (title.IsEmpty()) title = AfxGetAppName();
  DOCINFOA docInfo = {};
  docInfo.cbSize = sizeof docInfo;
  docInfo.lpszDocName = title;
  docInfo.lpszOutput = output.IsEmpty() ? nullptr : static_cast<LPCTSTR>(output);

  const bool printer = IsPrinterDC(&dc);
  CWnd* main = AfxGetMainWnd();
  userAbort = FALSE;
  if (printer) {
    dc.SetAbortProc(AbortProc);
    if (dc.StartDoc(&docInfo) <= 0) {
      AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_ICONEXCLAMATION | MB_OK);
      return;
    }
  }
  CPrintingDialog* status = new CPrintingDialog;
  if (status->Create(AFX_IDD_PRINTING, main)) {
    printingDialog = status->m_hWnd;
    status->SetDlgItemText(AFX_IDC_PRINT_DOCNAME, title);
    status->ShowWindow(SW_SHOW);
    status->UpdateWindow();
  }
  if (main != nullptr) main->EnableWindow(FALSE);
  const BOOL ok = PrintPages(&dc, &info);
  if (main != nullptr) main->EnableWindow(TRUE);
  if (printer) {
    if (ok) {
      dc.EndDoc();
    } else {
      dc.AbortDoc();
    }
  }
  if (status->m_hWnd != nullptr) status->DestroyWindow();
  delete status;
  printingDialog = nullptr;
}

void CView::OnFilePrintPreview() {
  auto* state = new CPrintPreviewState;
  if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CPreviewView), state)) {
    AfxMessageBox(AFX_IDP_COMMAND_FAILURE, MB_ICONEXCLAMATION | MB_OK);
    delete state;
  }
}

BOOL CView::DoPrintPreview(UINT nIDResource, CView* pPrintView, CRuntimeClass* pPreviewViewClass,
                           CPrintPreviewState* pState) {
  CFrameWnd* frame = GetParentFrame();
  if (frame == nullptr || frame->m_pPreviewState != nullptr || pPreviewViewClass == nullptr) return FALSE;
  auto* preview = AfxCreateObjectOf<CPreviewView>(pPreviewViewClass);
  if (preview == nullptr) return FALSE;
  preview->m_pPreviewState = pState;

  // The replaced view steps aside: it loses the pane id and is hidden.
  CView* old = frame->GetActiveView();
  pState->pViewActiveOld = old;
  if (old != nullptr) {
    pState->bViewVisible = old->IsWindowVisible();
    pState->nIDMainPane = static_cast<UINT>(old->GetDlgCtrlID());
  }
  CCreateContext context;
  context.m_pCurrentFrame = frame;
  context.m_pCurrentDoc = GetDocument();
  context.m_pLastView = this;
  CRect client;
  frame->GetClientRect(&client);
  // A temporary id until the old view has let go of the pane id.
  if (!preview->Create(nullptr, nullptr, WS_CHILD, client, frame, AFX_IDW_PANE_FIRST + 0xFF, &context)) {
    return FALSE;  // deleted by its PostNcDestroy
  }
  if (!preview->SetPrintView(pPrintView)) {
    preview->m_pPreviewState = nullptr;
    preview->DestroyWindow();
    return FALSE;
  }
  auto* toolBar = new CPreviewToolBar(preview);
  if (!toolBar->Create(nIDResource, frame)) {
    delete toolBar;
    preview->m_pPreviewState = nullptr;
    preview->DestroyWindow();
    return FALSE;
  }
  pState->pToolBar = toolBar;
  frame->m_pPreviewState = pState;
  frame->SetActiveView(preview);
  if (old != nullptr) {
    old->ShowWindow(SW_HIDE);
    if (old->GetDlgCtrlID() == AFX_IDW_PANE_FIRST) old->SetDlgCtrlID(AFX_IDW_PANE_FIRST + 0xFE);
  }
  preview->SetDlgCtrlID(AFX_IDW_PANE_FIRST);
  toolBar->ShowWindow(SW_SHOW);
  preview->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  preview->SetFocus();
  preview->Invalidate();
  return TRUE;
}

void CView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT, CPreviewView* pView) {
  OnEndPrinting(pDC, pInfo);
  pView->ClosePreview();
}

// ---- CPreviewDC

CPreviewDC::~CPreviewDC() {
  // Both DCs belong to the preview view.
  m_hDC = m_hAttribDC = nullptr;
}

void CPreviewDC::SetScaleRect(const CRect& pageImage, CSize printerPage) {
  m_pageImage = pageImage;
  m_printerPage = printerPage;
  if (m_printerPage.cx <= 0) m_printerPage.cx = 1;
  if (m_printerPage.cy <= 0) m_printerPage.cy = 1;
  m_printerOrigin = CPoint(0, 0);
}

void CPreviewDC::MirrorMapping() {
  if (m_hDC == nullptr) return;
  ::SetMapMode(m_hDC, MM_ANISOTROPIC);
  ::SetWindowExtEx(m_hDC, m_printerPage.cx, m_printerPage.cy, nullptr);
  ::SetViewportExtEx(m_hDC, m_pageImage.Width(), m_pageImage.Height(), nullptr);
  ::SetWindowOrgEx(m_hDC, 0, 0, nullptr);
  ::SetViewportOrgEx(m_hDC, m_pageImage.left + ::MulDiv(m_printerOrigin.x, m_pageImage.Width(), m_printerPage.cx),
                     m_pageImage.top + ::MulDiv(m_printerOrigin.y, m_pageImage.Height(), m_printerPage.cy), nullptr);
}

CPoint CPreviewDC::SetViewportOrg(int x, int y) {
  const CPoint old = m_printerOrigin;
  m_printerOrigin = CPoint(x, y);
  if (m_hAttribDC != nullptr) ::SetViewportOrgEx(m_hAttribDC, x, y, nullptr);
  MirrorMapping();
  return old;
}

CPoint CPreviewDC::OffsetViewportOrg(int nWidth, int nHeight) {
  return SetViewportOrg(m_printerOrigin.x + nWidth, m_printerOrigin.y + nHeight);
}

int CPreviewDC::GetClipBox(LPRECT lpRect) const {
  // The whole page, in the view's (printer) units.
  ::SetRect(lpRect, -m_printerOrigin.x, -m_printerOrigin.y, m_printerPage.cx - m_printerOrigin.x,
            m_printerPage.cy - m_printerOrigin.y);
  return SIMPLEREGION;
}

// ---- CPreviewView

BEGIN_MESSAGE_MAP(CPreviewView, CScrollView)
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NUMPAGE, OnUpdateNumPageChange)
ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMIN, OnUpdateZoomIn)
ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMOUT, OnUpdateZoomOut)
END_MESSAGE_MAP()

CPreviewView::CPreviewView() = default;

CPreviewView::~CPreviewView() {
  delete m_pPreviewDC;
  delete m_pPreviewInfo;
}

BOOL CPreviewView::SetPrintView(CView* pPrintView) {
  m_pPrintView = pPrintView;
  m_pPreviewInfo = new CPrintInfo;
  m_pPreviewInfo->m_bPreview = TRUE;
  if (!pPrintView->OnPreparePrinting(m_pPreviewInfo) || m_pPreviewInfo->m_pPD->m_pd.hDC == nullptr) return FALSE;
  m_dcPrint.Attach(m_pPreviewInfo->m_pPD->m_pd.hDC);
  m_pPreviewInfo->m_pPD->m_pd.hDC = nullptr;  // m_dcPrint owns it now
  m_dcPrint.m_bPrinting = TRUE;
  m_printerPage = PageSize(m_dcPrint.m_hDC);
  m_printerDpi = CSize(m_dcPrint.GetDeviceCaps(LOGPIXELSX), m_dcPrint.GetDeviceCaps(LOGPIXELSY));
  if (m_printerPage.cx <= 0 || m_printerPage.cy <= 0) return FALSE;

  m_pPreviewDC = new CPreviewDC;
  m_pPreviewDC->SetAttribDC(m_dcPrint.m_hDC);
  m_pPreviewDC->m_bPrinting = TRUE;
  pPrintView->OnBeginPrinting(m_pPreviewDC, m_pPreviewInfo);
  m_nCurrentPage = m_pPreviewInfo->GetMinPage();
  m_nPages = 1;
  UpdateLayout();
  return TRUE;
}

CRect CPreviewView::GetPageRect(UINT nIndex) const {
  CRect client;
  GetClientRect(&client);
  const int margin = 8;
  if (m_nZoomState != 0) {
    // Actual size: the page as large as it will be on paper, on this screen.
    HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX), dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const int width = ::MulDiv(m_printerPage.cx, dpiX, m_printerDpi.cx > 0 ? m_printerDpi.cx : dpiX);
    const int height = ::MulDiv(m_printerPage.cy, dpiY, m_printerDpi.cy > 0 ? m_printerDpi.cy : dpiY);
    return CRect(margin, margin, margin + width, margin + height);
  }
  // Whole pages: the largest images that fit side by side, keeping the shape.
  const int pages = static_cast<int>(m_nPages);
  const int cellWidth = (client.Width() - margin * (pages + 1)) / pages;
  const int cellHeight = client.Height() - 2 * margin;
  if (cellWidth <= 0 || cellHeight <= 0) return CRect();
  int width = cellWidth;
  int height = ::MulDiv(width, m_printerPage.cy, m_printerPage.cx);
  if (height > cellHeight) {
    height = cellHeight;
    width = ::MulDiv(height, m_printerPage.cx, m_printerPage.cy);
  }
  const int left = margin + static_cast<int>(nIndex) * (cellWidth + margin) + (cellWidth - width) / 2;
  const int top = margin + (cellHeight - height) / 2;
  return CRect(left, top, left + width, top + height);
}

void CPreviewView::UpdateLayout() {
  if (m_hWnd == nullptr) return;
  if (m_nZoomState != 0) {
    const CRect page = GetPageRect(0);
    SetScrollSizes(MM_TEXT, CSize(page.right + 8, page.bottom + 8));
  } else {
    SetScrollSizes(MM_TEXT, CSize(0, 0));
  }
  Invalidate();
}

void CPreviewView::DrawPage(CDC* pDC, UINT nIndex) {
  CRect page = GetPageRect(nIndex);
  if (page.IsRectEmpty()) return;
  const CPoint scroll = GetDeviceScrollPosition();
  page.OffsetRect(-scroll.x, -scroll.y);
  // The sheet: a shadow, a black frame, white paper.
  CRect shadow = page;
  shadow.OffsetRect(3, 3);
  pDC->FillSolidRect(&shadow, RGB(64, 64, 64));
  CRect frame = page;
  frame.InflateRect(1, 1);
  CBrush black(RGB(0, 0, 0));
  pDC->FrameRect(&frame, &black);
  pDC->FillSolidRect(&page, RGB(255, 255, 255));

  const int saved = ::SaveDC(pDC->m_hDC);
  m_pPreviewDC->SetOutputDC(pDC->m_hDC);
  m_pPreviewDC->SetScaleRect(page, m_printerPage);
  ::IntersectClipRect(pDC->m_hDC, page.left, page.top, page.right, page.bottom);
  m_pPreviewDC->MirrorMapping();
  const int savedPrinter = ::SaveDC(m_dcPrint.m_hDC);
  m_pPreviewInfo->m_nCurPage = m_nCurrentPage + nIndex;
  m_pPreviewInfo->m_bContinuePrinting = TRUE;
  m_pPrintView->OnPrepareDC(m_pPreviewDC, m_pPreviewInfo);
  if (m_pPreviewInfo->m_bContinuePrinting) {
    m_pPreviewInfo->m_rectDraw.SetRect(0, 0, m_printerPage.cx, m_printerPage.cy);
    m_pPreviewDC->DPtoLP(&m_pPreviewInfo->m_rectDraw);
    m_pPrintView->OnPrint(m_pPreviewDC, m_pPreviewInfo);
  }
  ::RestoreDC(m_dcPrint.m_hDC, savedPrinter);
  m_pPreviewDC->ReleaseOutputDC();
  ::RestoreDC(pDC->m_hDC, saved);
}

BOOL CPreviewView::ProbeNextPage() {
  if (m_pPreviewInfo->GetMaxPage() != 0xFFFF) return m_nCurrentPage + m_nPages <= m_pPreviewInfo->GetMaxPage();
  // Ask the view whether the page after those shown would still print.
  const int saved = ::SaveDC(m_dcPrint.m_hDC);
  m_pPreviewInfo->m_nCurPage = m_nCurrentPage + m_nPages;
  m_pPreviewInfo->m_bContinuePrinting = TRUE;
  m_pPrintView->OnPrepareDC(&m_dcPrint, m_pPreviewInfo);
  ::RestoreDC(m_dcPrint.m_hDC, saved);
  return m_pPreviewInfo->m_bContinuePrinting;
}

void CPreviewView::OnDraw(CDC* pDC) {
  if (m_pPreviewDC == nullptr) return;
  for (UINT i = 0; i < m_nPages; ++i) DrawPage(pDC, i);
  m_bHasNextPage = ProbeNextPage();
}

BOOL CPreviewView::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, ::GetSysColor(COLOR_APPWORKSPACE));
  return TRUE;
}

void CPreviewView::OnSize(UINT nType, int cx, int cy) {
  CScrollView::OnSize(nType, cx, cy);
  Invalidate();
}

void CPreviewView::OnActivateView(BOOL bActivate, CView*, CView*) {
  if (bActivate) SetFocus();
}

BOOL CPreviewView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // Only the preview's own commands while it shows: nothing reaches the
  // document behind it.
  return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CPreviewView::OnNextPage() {
  if (!m_bHasNextPage) return;
  m_nCurrentPage += 1;
  Invalidate();
}

void CPreviewView::OnPrevPage() {
  if (m_nCurrentPage <= m_pPreviewInfo->GetMinPage()) return;
  m_nCurrentPage -= 1;
  Invalidate();
}

void CPreviewView::OnNumPageChange() {
  m_nPages = m_nPages == 1 ? 2 : 1;
  m_pPreviewInfo->m_nNumPreviewPages = m_nPages;
  Invalidate();
}

void CPreviewView::OnZoomIn() {
  m_nZoomState = 1;
  UpdateLayout();
}

void CPreviewView::OnZoomOut() {
  m_nZoomState = 0;
  ScrollToPosition(CPoint(0, 0));
  UpdateLayout();
}

void CPreviewView::OnPreviewClose() { m_pPrintView->OnEndPrintPreview(m_pPreviewDC, m_pPreviewInfo, CPoint(), this); }

void CPreviewView::OnPreviewPrint() {
  CView* printView = m_pPrintView;
  OnPreviewClose();  // this view is gone after this
  printView->OnFilePrint();
}

void CPreviewView::OnUpdateNextPage(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bHasNextPage); }

void CPreviewView::OnUpdatePrevPage(CCmdUI* pCmdUI) { pCmdUI->Enable(m_nCurrentPage > m_pPreviewInfo->GetMinPage()); }

void CPreviewView::OnUpdateNumPageChange(CCmdUI* pCmdUI) {
  CString text;
  if (!text.LoadString(m_nPages == 1 ? AFX_IDS_PREVIEW_TWOPAGE : AFX_IDS_PREVIEW_ONEPAGE)) {
    text = m_nPages == 1 ? "&Two Page" : "&One Page";
  }
  pCmdUI->SetText(text);
  pCmdUI->Enable(m_nZoomState == 0);
}

void CPreviewView::OnUpdateZoomIn(CCmdUI* pCmdUI) { pCmdUI->Enable(m_nZoomState == 0); }

void CPreviewView::OnUpdateZoomOut(CCmdUI* pCmdUI) { pCmdUI->Enable(m_nZoomState != 0); }

void CPreviewView::ClosePreview() {
  CFrameWnd* frame = GetParentFrame();
  CPrintPreviewState* state = m_pPreviewState;
  m_pPreviewState = nullptr;
  if (frame == nullptr || state == nullptr) {
    DestroyWindow();
    return;
  }
  frame->m_pPreviewState = nullptr;
  if (state->pToolBar != nullptr) {
    state->pToolBar->DestroyWindow();
    delete state->pToolBar;
  }
  CView* old = state->pViewActiveOld;
  SetDlgCtrlID(AFX_IDW_PANE_FIRST + 0xFF);
  if (old != nullptr) {
    old->SetDlgCtrlID(static_cast<int>(state->nIDMainPane));
    if (state->bViewVisible) old->ShowWindow(SW_SHOW);
  }
  frame->SetActiveView(old);
  frame->RecalcLayout();
  delete state;
  DestroyWindow();  // deletes this view
}
