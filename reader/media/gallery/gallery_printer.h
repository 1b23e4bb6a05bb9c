// CGalleryPrinter: the media gallery's printing and print preview. It prints
// the current item (its picture, or a movie's current frame, on one page),
// the bookmark list, or one bookmark folder, each page between a header and
// the notices; the gallery routes the print commands here and hands the
// class library's print loop to it.
#pragma once

#include "framework.h"

class CViewPicture;

class CGalleryPrinter : public CCmdTarget {
 public:
  // Print modes: the current item, the bookmark list, one folder.
  enum PrintMode { PrintItem = 0, PrintBookmarks = 1, PrintFolder = 2 };

  explicit CGalleryPrinter(CViewPicture& view) : m_view(view) {}

  int GetMode() const { return m_mode; }
  const CDWordArray& GetPageStarts() const { return m_pageStarts; }
  void Run(int mode, BOOL preview);
  void RunFolder(int folder, BOOL preview);

  // The gallery's steps of the print loop.
  BOOL Prepare(CPrintInfo* pInfo);
  void Begin(CDC* pDC);
  void End();
  void PrepareDC(CPrintInfo* pInfo);
  void PrintPage(CDC* pDC, CPrintInfo* pInfo);
  // Draws the page header and footer and gives back the area between them.
  CRect PrintFrame(CDC* pDC, CPrintInfo* pInfo, const CRect& page);

 protected:
  void DrawImage(CDC* pDC, const CRect& area);
  // A panorama has no picture to print.
  BOOL IsPanoramaShown() const;

  void OnPrintItem();
  void OnPreviewItem();
  void OnPrintBookmarks();
  void OnPreviewBookmarks();
  void OnUpdatePrint(CCmdUI* pCmdUI);
  void OnUpdateBookmarkPrint(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  CViewPicture& m_view;
  int m_mode = PrintItem;
  CDWordArray m_pageStarts;
};
