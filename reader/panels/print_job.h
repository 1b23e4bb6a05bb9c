// CPrintJob: a screen's printing and print preview. A job prints the item the
// screen shows (an article, an entry, an event, a media item), the whole
// bookmark list or one bookmark folder, page by page through the class
// library's print loop, each page under the same header (the title, "Page n"
// and a rule) and over a footer of notices. The screen owns one, tells it
// which of its command ids mean which print command, routes its commands to
// it (OnCmdMsg), hands it the steps of the print loop from its view's print
// overrides and answers what differs through PrintJobOwner.
#pragma once

#include <vector>

#include "framework.h"

namespace panels {

// What a print job prints.
enum PrintKind { PrintItem = 0, PrintBookmarkList = 1, PrintOneFolder = 2 };

enum class PrintCommand {
  PrintItem,
  PreviewItem,
  PrintBookmarks,
  PreviewBookmarks,
  // What the last job printed, printed or previewed again.
  PrintAgain,
  PreviewAgain,
};

// One of a screen's command ids (menu item or button) and what it means.
struct PrintCommandId {
  UINT id;
  PrintCommand command;
};

}  // namespace panels

// What a print job needs of the screen that prints.
class PrintJobOwner {
 public:
  virtual ~PrintJobOwner() = default;
  // The view whose print loop runs the job and which the preview replaces.
  virtual CView& PrintingView() = 0;
  // Whether the screen shows an item to print (the item commands' rule).
  virtual BOOL CanPrintItem() const = 0;
  // Whether the reader may print only the selected text of the item.
  virtual BOOL HasPrintableSelection() const = 0;
  // The title over the item's pages.
  virtual CString PrintedItemTitle() const = 0;
  // The footer's notice lines, the top one first, on a page of `kind`.
  virtual std::vector<CString> PrintedNotices(panels::PrintKind kind) const = 0;
  // Prints the item from `start` within info->m_rectDraw; where the next
  // page starts, or -1 after the last.
  virtual int PrintItemPage(CDC* dc, CPrintInfo* info, int start) = 0;
  // The font of the header and the footer: the shared print font, which the
  // job makes for the printer.
  virtual CFont* PageFrameFont() const;
};

class CPrintJob : public CCmdTarget {
 public:
  CPrintJob(PrintJobOwner& owner, const panels::PrintCommandId* ids, int count);

  // The commands and update rules of the ids given, then nothing.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void Run(panels::PrintCommand command);
  // The enabling rule of a command; FALSE when it has none.
  BOOL Update(panels::PrintCommand command, CCmdUI* ui);

  // What the current (or last) job prints; the folder of a folder's job.
  panels::PrintKind GetKind() const { return m_kind; }
  int GetFolder() const { return m_folder; }
  void Print(panels::PrintKind kind, BOOL preview);
  void PrintFolder(int folder, BOOL preview);

  // The steps of the class library's print loop, from the view's overrides.
  BOOL Prepare(CPrintInfo* info);
  // The first page starts at 0; each printed page gives the next one's start.
  void Begin(CDC* dc);
  // The loop goes on to a page whose start is known (the base view would
  // stop after the first page of a job of unknown length).
  void PrepareDC(CPrintInfo* info) const;
  void PrintPage(CDC* dc, CPrintInfo* info);
  void End();
  const CDWordArray& PageStarts() const { return m_pageStarts; }

 private:
  void Start(BOOL preview);
  CString Heading() const;
  // Draws the page's header and footer; the body's rectangle between them.
  CRect DrawPageFrame(CDC* dc, const CPrintInfo& info) const;
  int PrintBody(CDC* dc, CPrintInfo* info, int start);

  PrintJobOwner& m_owner;
  const panels::PrintCommandId* m_ids;
  int m_count;
  panels::PrintKind m_kind = panels::PrintItem;
  int m_folder = -1;
  CDWordArray m_pageStarts;
};

// A screen's form view whose printing is its print job: the class library's
// print loop hands each of its steps to the job.
class CPrintingFormView : public CFormView {
  DECLARE_DYNAMIC(CPrintingFormView)
 public:
  virtual CPrintJob& PrintJob() = 0;

 protected:
  explicit CPrintingFormView(UINT nIDTemplate) : CFormView(nIDTemplate) {}
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override { return PrintJob().Prepare(pInfo); }
  void OnBeginPrinting(CDC* pDC, CPrintInfo*) override { PrintJob().Begin(pDC); }
  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override { PrintJob().PrintPage(pDC, pInfo); }
  void OnEndPrinting(CDC*, CPrintInfo*) override { PrintJob().End(); }
};
