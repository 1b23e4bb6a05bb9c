// Documents, views, frames and document templates.
//
// A document template names a document class, a frame class, a view class
// and a resource id (menu, accelerators, icon, and the document string whose
// first line is the frame's title). Opening a document on a template creates
// the document, then the frame, which creates its first view in the
// document; the frame then sends WM_INITIALUPDATE to its views. A frame holds
// one active view; commands reach the active view (and through it the
// document) before the frame itself and then the application.
#pragma once

#include "afx_app.h"
#include "afx_dialog.h"

class CDocument;
class CView;
class CFrameWnd;
class CDocTemplate;
class CPrintInfo;
class CPreviewView;
struct CPrintPreviewState;

// Frame styles kept in the low word of the frame's window style.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;  // the document's title goes in the caption
constexpr DWORD FWS_PREFIXTITLE = 0x00004000;

// The style of a view the frame creates itself.
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE;

// What a frame and a view need while they are created.
struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  CView* m_pLastView = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)
 public:
  CDocument() = default;
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCTSTR lpszTitle);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  BOOL IsModified() const { return m_bModified; }
  void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  void AddView(CView* pView);
  void RemoveView(CView* pView);
  int GetViewCount() const { return m_viewList.GetSize(); }
  CView* GetView(int nIndex) const { return static_cast<CView*>(m_viewList[nIndex]); }
  POSITION GetFirstViewPosition() const;
  CView* GetNextView(POSITION& rPosition) const;
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

  virtual BOOL OnNewDocument();
  virtual void DeleteContents() {}
  // Asked before the document closes; FALSE keeps it open. This framework
  // stores no documents itself, so the default agrees.
  virtual BOOL SaveModified();
  virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
  // Destroys the document's frames (and views with them), then the document.
  virtual void OnCloseDocument();

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  CDocTemplate* m_pDocTemplate = nullptr;

 protected:
  CString m_strTitle;
  BOOL m_bModified = FALSE;
  CPtrArray m_viewList;
};

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)
 public:
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }

  virtual void OnDraw(CDC* pDC) = 0;
  virtual void OnInitialUpdate();
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

  // Printing. The print command asks OnPreparePrinting (which normally
  // calls DoPreparePrinting for the print dialog), then runs the pages:
  // OnBeginPrinting, then per page OnPrepareDC and OnPrint while
  // m_bContinuePrinting holds, then OnEndPrinting.
  virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
  BOOL DoPreparePrinting(CPrintInfo* pInfo);
  virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView);
  void OnFilePrint();
  void OnFilePrintPreview();
  // Replaces this view in its frame by a preview view of the given class
  // with its tool bar dialog; FALSE (and the "command failed" box from the
  // caller) when it cannot start.
  BOOL DoPrintPreview(UINT nIDResource, CView* pPrintView, CRuntimeClass* pPreviewViewClass,
                      CPrintPreviewState* pState);
  // Prints the pages of one job into pDC (which has StartDoc done); FALSE
  // when the job was aborted or a page failed.
  BOOL PrintPages(CDC* pDC, CPrintInfo* pInfo);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 protected:
  CView() = default;
  CDocument* m_pDocument = nullptr;
  CCreateContext* m_pCreateContext = nullptr;  // set while a form view is created

  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  void OnPaint();
  LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);
  void PostNcDestroy() override;
  DECLARE_MESSAGE_MAP()
  friend class CDocument;
  friend class CPreviewView;
};

// A view whose content can be larger than the window: scroll bars and a
// scroll position applied to the DC in OnPrepareDC (device units = pixels).
class CScrollView : public CView {
  DECLARE_DYNAMIC(CScrollView)
 public:
  void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = CSize(0, 0),
                      const SIZE& sizeLine = CSize(0, 0));
  CSize GetTotalSize() const { return m_totalLog; }
  CPoint GetScrollPosition() const;
  CPoint GetDeviceScrollPosition() const;
  void ScrollToPosition(POINT pt);
  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

 protected:
  CScrollView() = default;
  int m_nMapMode = MM_TEXT;
  CSize m_totalLog;
  CSize m_totalDev;
  CSize m_pageDev;
  CSize m_lineDev;

  void UpdateBars();
  void ScrollTo(int bar, int position);
  void OnSize(UINT nType, int cx, int cy);
  void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  DECLARE_MESSAGE_MAP()
};

// A view made from a dialog template (a form), with dialog navigation.
class CFormView : public CScrollView {
  DECLARE_DYNAMIC(CFormView)
 public:
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, CCreateContext* pContext = nullptr) override;
  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override { (void)pDC; }
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  explicit CFormView(UINT nIDTemplate) : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)) {}
  explicit CFormView(LPCTSTR lpszTemplateName) : m_lpszTemplateName(lpszTemplateName) {}
  LPCTSTR m_lpszTemplateName;
  LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
 public:
  static const CRect rectDefault;  // the system's default position and size

  CFrameWnd() = default;

  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
              DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
  // Creates the frame from the resources of nIDResource: title (first line of
  // the string), menu, accelerators and class icon, each when present.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

  CView* GetActiveView() const { return m_pViewActive; }
  // Makes pViewNew the active view; with bNotify the old one gets
  // OnActivateView(FALSE) and then the new one OnActivateView(TRUE).
  void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
  virtual CDocument* GetActiveDocument();
  // Fits the view with the first-pane id to the client area.
  virtual void RecalcLayout(BOOL bNotify = TRUE);
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  virtual void ActivateFrame(int nCmdShow = -1);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  const CString& GetTitle() const { return m_strTitle; }
  void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  HACCEL m_hAccelTable = nullptr;
  BOOL m_bAutoMenuEnable = TRUE;  // menu items without any handler are greyed
  UINT m_nIDHelp = 0;
  CPrintPreviewState* m_pPreviewState = nullptr;  // set while a print preview runs

 protected:
  CView* m_pViewActive = nullptr;
  CString m_strTitle;

  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  void PostNcDestroy() override;
  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  void OnClose();
  void OnSize(UINT nType, int cx, int cy);
  void OnSetFocus(CWnd* pOldWnd);
  void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
  friend class CView;
};

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)
 public:
  enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  CString m_strDocStrings;  // the template's string resource, lines split by '\n'

  // One line of the document string; FALSE (and empty) when there is none.
  BOOL GetDocString(CString& rString, DocStringIndex index) const;
  virtual void LoadTemplate();
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
  virtual CDocument* CreateNewDocument();
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
  virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
  virtual void AddDocument(CDocument* pDoc);
  virtual void RemoveDocument(CDocument* pDoc);

 protected:
  CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
};

// A template with at most one document at a time (reused by each new one).
class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)
 public:
  CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
  ~CSingleDocTemplate() override;

  CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
  void AddDocument(CDocument* pDoc) override;
  void RemoveDocument(CDocument* pDoc) override;
  CDocument* GetOnlyDocument() const { return m_pOnlyDoc; }

 protected:
  CDocument* m_pOnlyDoc = nullptr;
};
