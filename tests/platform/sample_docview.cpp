#include "sample_docview.h"

std::vector<std::string>& Trace() {
  static std::vector<std::string> trace;
  return trace;
}

int CSampleDoc::live = 0;

IMPLEMENT_DYNCREATE(CSampleDoc, CDocument)
IMPLEMENT_DYNCREATE(CScreenView, CView)
IMPLEMENT_DYNCREATE(CFormScreen, CFormView)
IMPLEMENT_DYNCREATE(CSampleFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CSampleDoc, CDocument)
ON_COMMAND(ID_SAMPLE_CHECKED, OnChecked)
ON_COMMAND(ID_SAMPLE_FIRST, OnFirst)
END_MESSAGE_MAP()

BOOL CSampleDoc::OnNewDocument() {
  Trace().push_back("doc new");
  return CDocument::OnNewDocument();
}

BEGIN_MESSAGE_MAP(CScreenView, CView)
ON_COMMAND(ID_SAMPLE_FIRST, OnFirst)
ON_UPDATE_COMMAND_UI(ID_SAMPLE_FIRST, OnUpdateFirst)
ON_UPDATE_COMMAND_UI(ID_SAMPLE_CHECKED, OnUpdateChecked)
ON_UPDATE_COMMAND_UI_RANGE(ID_SAMPLE_RANGE_FIRST, ID_SAMPLE_RANGE_LAST, OnUpdateHistory)
END_MESSAGE_MAP()

void CScreenView::OnDraw(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, m_colour);
}

void CScreenView::OnInitialUpdate() {
  ++m_nInitialUpdates;
  Trace().push_back(std::string("initial update ").append(std::to_string(GetDlgCtrlID())));
  CView::OnInitialUpdate();
}

BOOL CScreenView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // A view may leave a command to the rest of the route.
  if (!m_bHandleFirst && nID == ID_SAMPLE_FIRST && nCode == CN_COMMAND) {
    return GetDocument() != nullptr && GetDocument()->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
  return CView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

namespace {

// The screens' own child ids while they are not the active pane.
int OwnId(CView* view) {
  CSampleFrame* frame = static_cast<CSampleFrame*>(view->GetParentFrame());
  for (int i = 0; i < 6; ++i) {
    if (frame != nullptr && frame->m_screens[i] == view) return 101 + i;
  }
  return 100;
}

void Activate(CView* view, BOOL bActivate) {
  Trace().push_back(std::string(bActivate ? "activate " : "deactivate ").append(std::to_string(OwnId(view))));
  if (bActivate) {
    view->SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    view->ShowWindow(SW_SHOW);
  } else {
    if (view->GetDlgCtrlID() == AFX_IDW_PANE_FIRST) view->SetDlgCtrlID(OwnId(view));
    view->ShowWindow(SW_HIDE);
  }
}

}  // namespace

void CScreenView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  Activate(this, bActivate);
  CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFormScreen::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  Activate(this, bActivate);
  CFormView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

BEGIN_MESSAGE_MAP(CSampleFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND(ID_SAMPLE_FIRST, OnFirst)
ON_COMMAND_RANGE(ID_SAMPLE_RANGE_FIRST, ID_SAMPLE_RANGE_LAST, OnHistory)
END_MESSAGE_MAP()

int CSampleFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  m_screens[0] = static_cast<CView*>(GetDlgItem(AFX_IDW_PANE_FIRST));
  MoveWindow(0, 0, 640, 480);
  CenterWindow();
  return 0;
}

CView* CSampleFrame::ShowScreen(int n) {
  if (m_screens[n] == nullptr) {
    POSITION pos = AfxGetApp()->GetFirstDocTemplatePosition();
    CDocTemplate* docTemplate = nullptr;
    for (int i = 0; i <= n && pos != nullptr; ++i) docTemplate = AfxGetApp()->GetNextDocTemplate(pos);
    if (docTemplate == nullptr) return nullptr;
    CCreateContext context;
    context.m_pCurrentDoc = GetActiveDocument();
    context.m_pNewViewClass = docTemplate->m_pViewClass;
    CObject* created = docTemplate->m_pViewClass->CreateObject();
    if (created == nullptr) return nullptr;
    CView* view = static_cast<CView*>(created);
    if (!view->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 0, 0), this, 101 + n, &context)) return nullptr;
    m_screens[n] = view;
    view->SendMessage(WM_INITIALUPDATE);
  }
  SetActiveView(m_screens[n]);
  RecalcLayout();
  return m_screens[n];
}

void RegisterSampleTemplates() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  CWinApp* app = AfxGetApp();
  app->AddDocTemplate(new CSingleDocTemplate(IDR_SAMPLE, RUNTIME_CLASS(CSampleDoc), RUNTIME_CLASS(CSampleFrame),
                                             RUNTIME_CLASS(CScreenView)));
  app->AddDocTemplate(new CSingleDocTemplate(IDR_SAMPLE_OTHER, RUNTIME_CLASS(CSampleDoc), RUNTIME_CLASS(CSampleFrame),
                                             RUNTIME_CLASS(CFormScreen)));
  for (UINT id = 902; id <= 905; ++id) {
    app->AddDocTemplate(
        new CSingleDocTemplate(id, RUNTIME_CLASS(CSampleDoc), RUNTIME_CLASS(CSampleFrame), RUNTIME_CLASS(CScreenView)));
  }
}
