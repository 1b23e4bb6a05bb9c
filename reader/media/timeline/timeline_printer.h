// CTimelinePrinter: the timeline's printing and print preview: the shown
// event's article (through the display), the bookmark list, or one bookmark
// folder, each page between a header (title, page number) and the notices.
// The timeline routes the print commands here and hands the class library's
// print loop to it.
#pragma once

#include <vector>

#include "framework.h"

class CTimeLine;

class CTimelinePrinter : public CCmdTarget {
 public:
  // The print kinds.
  enum PrintKind { PrintArticle = 0, PrintBookmarkList = 1, PrintFolder = 2 };

  explicit CTimelinePrinter(CTimeLine& view) : m_view(view) {}

  int GetKind() const { return m_kind; }
  // The pages printed or previewed so far: where each begins.
  const std::vector<int>& GetPageStarts() const { return m_pageStarts; }
  void Run(int kind, BOOL preview);
  void RunFolder(int folder, BOOL preview);

  // The timeline's steps of the print loop.
  BOOL Prepare(CPrintInfo* pInfo);
  void Begin(CDC* pDC);
  // Pages go on while the previous page left text for the next.
  void PrepareDC(CPrintInfo* pInfo);
  void PrintPage(CDC* pDC, CPrintInfo* pInfo);
  void End();

 protected:
  // The footer, drawn upwards; returns its rule's y.
  static int Notice(CDC* dc, CPrintInfo* info);

  void OnPrintEvent();
  void OnPreviewEvent();
  void OnPreviewCurrent();
  void OnPrintBookmarks();
  void OnPreviewBookmarks();
  void OnUpdateEventPrint(CCmdUI* pCmdUI);
  void OnUpdateBookmarkPrint(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  CTimeLine& m_view;
  int m_kind = PrintArticle;
  std::vector<int> m_pageStarts;
};
