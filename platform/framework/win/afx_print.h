// Printing and print preview.
//
// A print job runs a view's printing virtuals over a printer DC (see
// CView::OnFilePrint). A preview runs the same virtuals, page by page, over a
// CPreviewDC whose output goes to the preview window, scaled to a page image,
// while text metrics come from the printer: the pages look as they will
// print. Printing into a DC that is not a printer (a memory DC) draws the
// pages one over the other without document calls, so pages can be examined
// on a machine without a printer.
#pragma once

#include "afx_docview.h"

class CPrintInfo {
 public:
  CPrintInfo();
  ~CPrintInfo();
  CPrintInfo(const CPrintInfo&) = delete;
  CPrintInfo& operator=(const CPrintInfo&) = delete;

  CPrintDialog* m_pPD;      // the print dialog and its flags
  BOOL m_bPreview = FALSE;  // set for a preview
  BOOL m_bDirect = FALSE;   // print without asking
  BOOL m_bContinuePrinting = TRUE;
  UINT m_nCurPage = 1;          // the page being prepared or printed (1-based)
  UINT m_nNumPreviewPages = 1;  // pages the preview shows at once (1 or 2)
  CString m_strPageDesc;
  LPVOID m_lpUserData = nullptr;
  CRect m_rectDraw;  // the printable area of the page, in the DC's units

  void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = static_cast<WORD>(nMinPage); }
  // 0xFFFF: not known (the view decides in OnPrepareDC when to stop).
  void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(nMaxPage); }
  UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
  UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
  UINT GetFromPage() const { return m_pPD->PrintRange() ? m_pPD->m_pd.nFromPage : GetMinPage(); }
  UINT GetToPage() const { return m_pPD->PrintRange() ? m_pPD->m_pd.nToPage : GetMaxPage(); }
};

// What a preview keeps of the frame it replaces, restored when it closes. The
// caller of DoPrintPreview makes it; the preview deletes it at its end.
struct CPrintPreviewState {
  CView* pViewActiveOld = nullptr;  // the view the preview replaced
  UINT nIDMainPane = 0;             // that view's own child id
  BOOL bViewVisible = FALSE;
  HMENU hMenu = nullptr;     // the frame's menu, hidden while previewing
  CWnd* pToolBar = nullptr;  // the preview's tool bar dialog
};

// Output to the preview window, attributes from the printer. The page's
// printer coordinates are mapped onto the page image set by SetScaleRect.
class CPreviewDC : public CDC {
  DECLARE_DYNAMIC(CPreviewDC)
 public:
  // The page image on the output DC, in the output's device units, and the
  // printer page it stands for, in printer device units.
  void SetScaleRect(const CRect& pageImage, CSize printerPage);
  // Applies the mapping to the output DC (after SetOutputDC, per page).
  void MirrorMapping();
  CPoint SetViewportOrg(int x, int y) override;
  CPoint OffsetViewportOrg(int nWidth, int nHeight) override;
  int GetClipBox(LPRECT lpRect) const override;
  ~CPreviewDC() override;

 protected:
  CRect m_pageImage;
  CSize m_printerPage = CSize(1, 1);
  CPoint m_printerOrigin;  // the viewport origin the view set, in printer units
};

// The view that shows pages in print preview, with commands to move between
// pages, show one or two pages, zoom, print and close.
class CPreviewView : public CScrollView {
  DECLARE_DYNCREATE(CPreviewView)
 public:
  CPreviewView();
  ~CPreviewView() override;

  // Prepares the preview of pPrintView; FALSE when printing cannot be
  // prepared (no printer DC).
  BOOL SetPrintView(CView* pPrintView);
  void OnDraw(CDC* pDC) override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // The page images of the current layout, in client coordinates.
  CRect GetPageRect(UINT nIndex) const;
  UINT GetCurrentPage() const { return m_nCurrentPage; }
  UINT GetPageCount() const { return m_nPages; }
  BOOL IsZoomed() const { return m_nZoomState != 0; }
  // Ends the preview: restores the frame and destroys this view.
  void ClosePreview();

  CPrintPreviewState* m_pPreviewState = nullptr;
  CView* m_pPrintView = nullptr;
  CPrintInfo* m_pPreviewInfo = nullptr;
  CPreviewDC* m_pPreviewDC = nullptr;
  CDC m_dcPrint;  // the printer (attribute) DC

 protected:
  UINT m_nCurrentPage = 1;
  UINT m_nPages = 1;     // shown at once
  int m_nZoomState = 0;  // 0 whole pages, 1 actual size
  BOOL m_bHasNextPage = FALSE;
  CSize m_printerPage;  // printable area, printer pixels
  CSize m_printerDpi;

  void DrawPage(CDC* pDC, UINT nIndex);
  void UpdateLayout();
  BOOL ProbeNextPage();
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnSize(UINT nType, int cx, int cy);
  void OnNextPage();
  void OnPrevPage();
  void OnNumPageChange();
  void OnZoomIn();
  void OnZoomOut();
  void OnPreviewClose();
  void OnPreviewPrint();
  void OnUpdateNextPage(CCmdUI* pCmdUI);
  void OnUpdatePrevPage(CCmdUI* pCmdUI);
  void OnUpdateNumPageChange(CCmdUI* pCmdUI);
  void OnUpdateZoomIn(CCmdUI* pCmdUI);
  void OnUpdateZoomOut(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()
};

// The status dialog of a running print job: TRUE once the user pressed Cancel.
BOOL AfxPrintAborted();
