#include "afx_docview.h"

#include "afx_menu.h"
#include "afx_print.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CScrollView, CView)
IMPLEMENT_DYNAMIC(CFormView, CScrollView)
IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CFrameWnd* CWnd::GetParentFrame() const {
  for (HWND up = ::GetParent(m_hWnd); up != nullptr; up = ::GetParent(up)) {
    CWnd* pWnd = FromHandlePermanent(up);
    if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(pWnd);
  }
  return nullptr;
}

// ---- CDocument

CDocument::~CDocument() {
  // Views outlive nothing of the document: forget them.
  for (int i = 0; i < m_viewList.GetSize(); ++i) static_cast<CView*>(m_viewList[i])->m_pDocument = nullptr;
  if (m_pDocTemplate != nullptr) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
  m_strTitle = lpszTitle;
  for (int i = 0; i < m_viewList.GetSize(); ++i) {
    CFrameWnd* frame = GetView(i)->GetParentFrame();
    if (frame != nullptr) frame->OnUpdateFrameTitle(TRUE);
  }
}

void CDocument::AddView(CView* pView) {
  for (int i = 0; i < m_viewList.GetSize(); ++i) {
    if (m_viewList[i] == pView) return;
  }
  m_viewList.Add(pView);
  pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
  for (int i = 0; i < m_viewList.GetSize(); ++i) {
    if (m_viewList[i] == pView) {
      m_viewList.RemoveAt(i);
      pView->m_pDocument = nullptr;
      return;
    }
  }
}

POSITION CDocument::GetFirstViewPosition() const {
  return m_viewList.IsEmpty() ? nullptr : reinterpret_cast<POSITION>(static_cast<INT_PTR>(1));
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
  const INT_PTR index = reinterpret_cast<INT_PTR>(rPosition) - 1;
  CView* view = GetView(static_cast<int>(index));
  rPosition = index + 1 < m_viewList.GetSize() ? reinterpret_cast<POSITION>(index + 2) : nullptr;
  return view;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  for (int i = 0; i < m_viewList.GetSize(); ++i) {
    if (GetView(i) != pSender) GetView(i)->OnUpdate(pSender, lHint, pHint);
  }
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::SaveModified() { return TRUE; }

BOOL CDocument::CanCloseFrame(CFrameWnd*) { return SaveModified(); }

void CDocument::OnCloseDocument() {
  // Destroying a frame destroys its views, which leave the list.
  while (!m_viewList.IsEmpty()) {
    CView* view = GetView(0);
    CFrameWnd* frame = view->GetParentFrame();
    if (frame != nullptr) {
      frame->DestroyWindow();
    } else {
      view->DestroyWindow();
    }
    if (!m_viewList.IsEmpty() && GetView(0) == view) RemoveView(view);  // a view that did not go
  }
  DeleteContents();
  delete this;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- CView

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::~CView() {
  if (m_pDocument != nullptr) m_pDocument->RemoveView(this);
}

int CView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  CCreateContext* context =
      m_pCreateContext != nullptr ? m_pCreateContext : static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
  if (context != nullptr && context->m_pCurrentDoc != nullptr) context->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::PostNcDestroy() { delete this; }

void CView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
  OnInitialUpdate();
  return 0;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL bActivate, CView*, CView*) {
  if (bActivate && ::IsWindowVisible(m_hWnd)) SetFocus();
}

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo) {
  // Without a known page count one page is printed.
  if (pInfo != nullptr) pInfo->m_bContinuePrinting = pInfo->GetMaxPage() != 0xFFFF || pInfo->m_nCurPage == 1;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- CScrollView

BEGIN_MESSAGE_MAP(CScrollView, CView)
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine) {
  m_nMapMode = nMapMode;
  m_totalLog = sizeTotal;
  m_totalDev = sizeTotal;  // device units: pixels of the view
  m_pageDev = sizePage;
  m_lineDev = sizeLine;
  if (m_pageDev.cx == 0) m_pageDev.cx = m_totalDev.cx / 10;
  if (m_pageDev.cy == 0) m_pageDev.cy = m_totalDev.cy / 10;
  if (m_lineDev.cx == 0) m_lineDev.cx = m_pageDev.cx / 10;
  if (m_lineDev.cy == 0) m_lineDev.cy = m_pageDev.cy / 10;
  if (m_hWnd != nullptr) UpdateBars();
}

void CScrollView::UpdateBars() {
  CRect client;
  GetClientRect(&client);
  for (int bar : {SB_HORZ, SB_VERT}) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_PAGE | SIF_RANGE;
    const int total = bar == SB_HORZ ? m_totalDev.cx : m_totalDev.cy;
    const int page = bar == SB_HORZ ? client.Width() : client.Height();
    info.nMin = 0;
    info.nMax = total > page ? total - 1 : 0;
    info.nPage = total > page ? static_cast<UINT>(page) : 0;
    ::SetScrollInfo(m_hWnd, bar, &info, TRUE);
    ::ShowScrollBar(m_hWnd, bar, total > page);
  }
}

CPoint CScrollView::GetDeviceScrollPosition() const {
  return CPoint(::GetScrollPos(m_hWnd, SB_HORZ), ::GetScrollPos(m_hWnd, SB_VERT));
}

CPoint CScrollView::GetScrollPosition() const { return GetDeviceScrollPosition(); }

void CScrollView::ScrollToPosition(POINT pt) {
  ScrollTo(SB_HORZ, pt.x);
  ScrollTo(SB_VERT, pt.y);
}

void CScrollView::ScrollTo(int bar, int position) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ::GetScrollInfo(m_hWnd, bar, &info);
  const int highest = info.nMax - static_cast<int>(info.nPage) + 1;
  if (position > highest) position = highest;
  if (position < 0) position = 0;
  const int old = info.nPos;
  if (position == old) return;
  ::SetScrollPos(m_hWnd, bar, position, TRUE);
  if (bar == SB_HORZ) {
    ScrollWindow(old - position, 0);
  } else {
    ScrollWindow(0, old - position);
  }
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  if (!pDC->IsPrinting()) {
    const CPoint scroll = GetDeviceScrollPosition();
    pDC->SetViewportOrg(-scroll.x, -scroll.y);
  }
  CView::OnPrepareDC(pDC, pInfo);
}

void CScrollView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  UpdateBars();
}

namespace {

// Where a scroll code moves the bar's position from where it is (the
// horizontal codes have the values of the vertical ones); false for a code
// that moves nothing. A page is the client area's width or height.
bool ScrolledPosition(HWND window, int bar, UINT code, UINT thumb, SIZE line, SIZE total, int* position) {
  const bool horizontal = bar == SB_HORZ;
  CRect client;
  ::GetClientRect(window, &client);
  *position = ::GetScrollPos(window, bar);
  switch (code) {
    case SB_LINEUP: *position -= horizontal ? line.cx : line.cy; break;
    case SB_LINEDOWN: *position += horizontal ? line.cx : line.cy; break;
    case SB_PAGEUP: *position -= horizontal ? client.Width() : client.Height(); break;
    case SB_PAGEDOWN: *position += horizontal ? client.Width() : client.Height(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: *position = static_cast<int>(thumb); break;
    case SB_TOP: *position = 0; break;
    case SB_BOTTOM: *position = horizontal ? total.cx : total.cy; break;
    default: return false;
  }
  return true;
}

}  // namespace

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  int position = 0;
  if (ScrolledPosition(m_hWnd, SB_HORZ, nSBCode, nPos, m_lineDev, m_totalDev, &position)) ScrollTo(SB_HORZ, position);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  int position = 0;
  if (ScrolledPosition(m_hWnd, SB_VERT, nSBCode, nPos, m_lineDev, m_totalDev, &position)) ScrollTo(SB_VERT, position);
}

// ---- CFormView

namespace {

INT_PTR CALLBACK FormDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

BOOL CFormView::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                       CCreateContext* pContext) {
  HINSTANCE module = AfxGetResourceHandle();
  HRSRC resource = ::FindResourceA(module, m_lpszTemplateName, reinterpret_cast<LPCSTR>(RT_DIALOG));
  HGLOBAL loaded = resource == nullptr ? nullptr : ::LoadResource(module, resource);
  auto* form = loaded == nullptr ? nullptr : static_cast<LPCDLGTEMPLATEA>(::LockResource(loaded));
  if (form == nullptr) {
    PostNcDestroy();  // as when a window fails: the view is not kept
    return FALSE;
  }
  m_pCreateContext = pContext;
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(module, form, pParentWnd == nullptr ? nullptr : pParentWnd->m_hWnd,
                                           FormDialogProc, 0);
  const BOOL attached = AfxUnhookWindowCreate(this);
  if (!attached) {
    PostNcDestroy();
    return FALSE;
  }
  if (hWnd == nullptr) return FALSE;
  m_pCreateContext = nullptr;
  SetDlgCtrlID(static_cast<int>(nID));
  // The form takes the caller's child styles over the template's.
  ModifyStyle(WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_BORDER,
              (dwStyle & (WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_BORDER)) | WS_CHILD);
  SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (dwStyle & WS_VISIBLE) ShowWindow(SW_SHOWNORMAL);
  return TRUE;
}

LRESULT CFormView::HandleInitDialog(WPARAM, LPARAM) {
  return FALSE;  // the focus is set when the view is activated
}

void CFormView::OnInitialUpdate() {
  UpdateData(FALSE);
  CView::OnInitialUpdate();
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  FilterToolTipMessage(pMsg);
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  // The dialog manager would take every key, the frame's accelerators too:
  // the frame sees them first.
  CFrameWnd* frame = GetParentFrame();
  if (frame != nullptr && frame->PreTranslateMessage(pMsg)) return TRUE;
  return ::IsDialogMessageA(m_hWnd, pMsg);
}

// ---- CFrameWnd

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_INITMENUPOPUP()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) {
    cs.lpszClass =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  }
  return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  m_strTitle = lpszWindowName;
  HMENU menu = lpszMenuName == nullptr ? nullptr : ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
  const int width = rect.right == 0 && rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.right - rect.left;
  const int height = rect.bottom == 0 && rect.top == CW_USEDEFAULT ? CW_USEDEFAULT : rect.bottom - rect.top;
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, width, height,
                pParentWnd == nullptr ? nullptr : pParentWnd->m_hWnd, menu, pContext)) {
    if (menu != nullptr) ::DestroyMenu(menu);
    return FALSE;
  }
  return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString strings;
  strings.LoadString(nIDResource);
  const int end = strings.Find('\n');
  const CString title = end < 0 ? strings : strings.Left(end);
  HINSTANCE module = AfxGetResourceHandle();
  HICON icon = ::LoadIconA(module, MAKEINTRESOURCEA(nIDResource));
  LPCTSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
  const bool hasMenu = ::FindResourceA(module, MAKEINTRESOURCEA(nIDResource), reinterpret_cast<LPCSTR>(RT_MENU));
  if (!Create(className, title, dwDefaultStyle, rectDefault, pParentWnd,
              hasMenu ? MAKEINTRESOURCEA(nIDResource) : nullptr, 0, pContext)) {
    return FALSE;  // the frame is gone (PostNcDestroy)
  }
  m_hAccelTable = ::LoadAcceleratorsA(module, MAKEINTRESOURCEA(nIDResource));
  if (pContext == nullptr) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  auto* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
  if (!OnCreateClient(lpCreateStruct, context)) return -1;
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext != nullptr && pContext->m_pNewViewClass != nullptr) {
    if (CreateView(pContext, AFX_IDW_PANE_FIRST) == nullptr) return FALSE;
  }
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  CWnd* view = AfxCreateObjectOf<CWnd>(pContext->m_pNewViewClass);
  if (view == nullptr) return nullptr;
  pContext->m_pCurrentFrame = this;
  CRect client;
  GetClientRect(&client);
  if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, client, this, nID, pContext)) return nullptr;
  return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  if (GetActiveView() == nullptr) {
    CWnd* pane = GetDlgItem(AFX_IDW_PANE_FIRST);
    if (pane != nullptr && pane->IsKindOf(RUNTIME_CLASS(CView))) SetActiveView(static_cast<CView*>(pane), FALSE);
  }
  SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
  (void)pDoc;
  OnUpdateFrameTitle(TRUE);
  if (bMakeVisible) {
    ActivateFrame();
    if (m_pViewActive != nullptr) m_pViewActive->OnActivateView(TRUE, m_pViewActive, m_pViewActive);
  }
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) {
    CWinApp* app = AfxGetApp();
    nCmdShow = IsWindowVisible() ? SW_SHOW : (app != nullptr && app->m_pMainWnd == this ? app->m_nCmdShow : SW_SHOW);
  }
  ShowWindow(nCmdShow);
  BringWindowToTop();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  CString title = m_strTitle;
  CDocument* doc = GetActiveDocument();
  if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc != nullptr && !doc->GetTitle().IsEmpty()) {
    title =
        (GetStyle() & FWS_PREFIXTITLE) ? doc->GetTitle() + " - " + m_strTitle : m_strTitle + " - " + doc->GetTitle();
  }
  CString current;
  GetWindowText(current);
  if (current != title) SetWindowText(title);
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* old = m_pViewActive;
  if (pViewNew == old) return;
  m_pViewActive = nullptr;  // none while the old one lets go
  if (bNotify && old != nullptr) old->OnActivateView(FALSE, pViewNew, old);
  m_pViewActive = pViewNew;
  if (bNotify && pViewNew != nullptr) pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument() {
  if (m_pViewActive != nullptr) return m_pViewActive->GetDocument();
  CWnd* pane = GetDlgItem(AFX_IDW_PANE_FIRST);
  if (pane != nullptr && pane->IsKindOf(RUNTIME_CLASS(CView))) return static_cast<CView*>(pane)->GetDocument();
  return nullptr;
}

void CFrameWnd::RecalcLayout(BOOL) {
  if (m_hWnd == nullptr) return;
  CRect client;
  GetClientRect(&client);
  if (m_pPreviewState != nullptr && m_pPreviewState->pToolBar != nullptr) {
    CWnd* bar = m_pPreviewState->pToolBar;
    CRect barRect;
    bar->GetWindowRect(&barRect);
    bar->SetWindowPos(nullptr, 0, 0, client.Width(), barRect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    client.top += barRect.Height();
  }
  HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
  if (pane != nullptr) {
    ::SetWindowPos(pane, nullptr, client.left, client.top, client.Width(), client.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The active view (and through it the document) first, then the frame,
  // then the application.
  CView* view = GetActiveView();
  if (view != nullptr && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr &&
      ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg)) {
    return TRUE;
  }
  return CWnd::PreTranslateMessage(pMsg);
}

void CFrameWnd::PostNcDestroy() {
  CWinApp* app = AfxGetApp();
  if (app != nullptr && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    ::PostQuitMessage(0);
  }
  delete this;
}

void CFrameWnd::OnClose() {
  CDocument* doc = GetActiveDocument();
  if (doc != nullptr) {
    if (!doc->CanCloseFrame(this)) return;
    doc->OnCloseDocument();  // destroys this frame
    return;
  }
  DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  if (m_pViewActive != nullptr && ::IsWindowVisible(m_pViewActive->m_hWnd)) {
    m_pViewActive->SetFocus();
  } else {
    CWnd::OnSetFocus(pOldWnd);
  }
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
  if (bSysMenu) {
    Default();
    return;
  }
  CCmdUI state;
  state.m_pMenu = pPopupMenu;
  for (int i = 0; i < pPopupMenu->GetMenuItemCount(); ++i) {
    const UINT id = pPopupMenu->GetMenuItemID(i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and submenus
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
    state.m_nID = id;
    state.m_pSubMenu = nullptr;
    // System commands (0xF000 and up) have no handlers of ours.
    state.DoUpdate(this, m_bAutoMenuEnable && id < 0xF000);
  }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  OnUpdateFrameTitle(TRUE);
  return 0;
}

// ---- templates

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {}

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
  int start = 0;
  for (int i = 0; i < index; ++i) {
    const int next = m_strDocStrings.Find('\n', start);
    if (next < 0) {
      rString.Empty();
      return FALSE;
    }
    start = next + 1;
  }
  const int end = m_strDocStrings.Find('\n', start);
  rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
  return !rString.IsEmpty();
}

CDocument* CDocTemplate::CreateNewDocument() {
  CDocument* doc = AfxCreateObjectOf<CDocument>(m_pDocClass);
  if (doc == nullptr) return nullptr;
  AddDocument(doc);
  return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CFrameWnd* frame = AfxCreateObjectOf<CFrameWnd>(m_pFrameClass);
  if (frame == nullptr) return nullptr;
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
    return nullptr;  // deleted by its PostNcDestroy
  }
  return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {
  LoadTemplate();
}

CSingleDocTemplate::~CSingleDocTemplate() {
  if (m_pOnlyDoc != nullptr) {
    CDocument* doc = m_pOnlyDoc;
    m_pOnlyDoc = nullptr;
    doc->m_pDocTemplate = nullptr;
    // Its frame is gone by now (the program ended); the views forgot it.
    delete doc;
  }
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR, BOOL bMakeVisible) {
  if (m_pOnlyDoc != nullptr) {
    // One document at a time: a new one reuses it.
    if (!m_pOnlyDoc->SaveModified()) return nullptr;
    if (!m_pOnlyDoc->OnNewDocument()) return nullptr;
    return m_pOnlyDoc;
  }
  CDocument* doc = CreateNewDocument();
  if (doc == nullptr) {
    AfxMessageBox("Failed to create an empty document.", MB_ICONEXCLAMATION | MB_OK);
    return nullptr;
  }
  CFrameWnd* frame = CreateNewFrame(doc, nullptr);
  if (frame == nullptr) {
    AfxMessageBox("Failed to create the document's window.", MB_ICONEXCLAMATION | MB_OK);
    delete doc;
    return nullptr;
  }
  CWinApp* app = AfxGetApp();
  if (app != nullptr && app->m_pMainWnd == nullptr) app->m_pMainWnd = frame;
  CString title;
  if (GetDocString(title, docName)) doc->SetTitle(title);
  if (!doc->OnNewDocument()) {
    frame->DestroyWindow();
    if (app != nullptr && app->m_pMainWnd == frame) app->m_pMainWnd = nullptr;
    delete doc;
    return nullptr;
  }
  InitialUpdateFrame(frame, doc, bMakeVisible);
  return doc;
}
