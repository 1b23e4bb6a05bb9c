// A document, views and a frame like the programs' own: the frame keeps one
// view per template, creates each on first use and switches between them.
#pragma once

#include <string>
#include <vector>

#include "test_app.h"

// Everything the sample classes did, in order.
std::vector<std::string>& Trace();

class CSampleDoc : public CDocument {
  DECLARE_DYNCREATE(CSampleDoc)
 public:
  static int live;
  BOOL m_bAllowClose = TRUE;
  int m_nSaveAsked = 0;
  CSampleDoc() { ++live; }
  ~CSampleDoc() override { --live; }
  BOOL SaveModified() override {
    ++m_nSaveAsked;
    return m_bAllowClose;
  }
  BOOL OnNewDocument() override;

 protected:
  void OnChecked() { Trace().push_back("doc checked"); }
  void OnFirst() { Trace().push_back("doc first"); }
  DECLARE_MESSAGE_MAP()
};

// A screen: takes the pane id while active, its own id while hidden.
class CScreenView : public CView {
  DECLARE_DYNCREATE(CScreenView)
 public:
  COLORREF m_colour = RGB(200, 30, 30);
  int m_nInitialUpdates = 0;
  BOOL m_bHandleFirst = TRUE;
  BOOL m_bEnableFirst = TRUE;
  void OnDraw(CDC* pDC) override;
  void OnInitialUpdate() override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 protected:
  void OnFirst() { Trace().push_back("view first"); }
  void OnUpdateFirst(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnableFirst); }
  void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
  void OnUpdateHistory(CCmdUI* pCmdUI) {
    CString text;
    text.Format("Query %u", pCmdUI->m_nID - ID_SAMPLE_RANGE_FIRST + 1);
    pCmdUI->SetText(text);
  }
  DECLARE_MESSAGE_MAP()
};

class CFormScreen : public CFormView {
  DECLARE_DYNCREATE(CFormScreen)
 public:
  CFormScreen() : CFormView(IDD_SAMPLE_FORM) {}
  CString m_strName = "form text";
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_SAMPLE_NAME, m_strName); }
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
};

class CSampleFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CSampleFrame)
 public:
  CView* m_screens[6] = {};
  // Makes the screen of the n-th template (creating it the first time) the
  // active view; null when it cannot be created.
  CView* ShowScreen(int n);
  std::vector<int> m_history;

 protected:
  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  void OnFirst() { Trace().push_back("frame first"); }
  void OnHistory(UINT id) { m_history.push_back(static_cast<int>(id)); }
  DECLARE_MESSAGE_MAP()
};

// Registers the six templates once (the application keeps them).
void RegisterSampleTemplates();
