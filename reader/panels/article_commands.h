// CArticleCommands: the commands both article screens (encyclopedia and
// dictionary) give on the article they show: the note and highlight modes
// and Clear Highlights, adding the article or the listed articles to a
// bookmark folder through the folder chooser, printing or previewing the
// article, the bookmark list or one folder (and the pages of the job),
// copying the selection or the article and saving it, the copies ending with
// the source notices. The view owns one, tells it which of its command ids
// mean which command and routes its commands to it (OnCmdMsg); what differs
// between the screens it asks of the view through ArticleCommandOwner.
#pragma once

#include <string>

#include "core/bit_string.h"
#include "display/display.h"
#include "framework.h"

// What the commands need of the screen that shows the article.
class ArticleCommandOwner {
 public:
  virtual ~ArticleCommandOwner() = default;
  // The view that prints and owns the dialogs.
  virtual CView& ArticleView() = 0;
  virtual CDisplay& ArticleDisplay() = 0;
  // The article notes, highlights and Add Article go with (0 or less: none).
  virtual int ArticleForFolders() const = 0;
  // Whether the display holds an article's text to copy or save.
  virtual BOOL HasArticleText() const = 0;
  // The source notices that copied and saved text ends with.
  virtual std::string ArticleNotices() const = 0;
  // Whether a list window whose articles Add Selected takes is open, and
  // those articles (FALSE: nothing to add).
  virtual BOOL HasArticleList() const = 0;
  virtual BOOL ListedArticles(CBitString& articles) = 0;
};

namespace panels {

enum class ArticleCommand {
  Notes,
  Highlights,
  ClearHighlights,
  AddArticle,
  AddSelected,
  PrintArticle,
  PreviewArticle,
  PrintBookmarks,
  PreviewBookmarks,
  CopySelection,
  CopyArticle,
  Save,
};

// One of a screen's command ids (menu item or button) and what it means.
struct ArticleCommandId {
  UINT id;
  ArticleCommand command;
};

// What a print job prints.
enum PrintKind { PrintArticleText = 0, PrintBookmarkList = 1, PrintOneFolder = 2 };

// Puts the text on the clipboard for `owner`; FALSE when it could not.
BOOL PutOnClipboard(HWND owner, const std::string& text);

}  // namespace panels

class CArticleCommands : public CCmdTarget {
 public:
  CArticleCommands(ArticleCommandOwner& owner, const panels::ArticleCommandId* ids, int count);

  // The commands and update rules of the ids given, then nothing.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  void Run(panels::ArticleCommand command);
  // The enabling rule of a command; FALSE when the screen has its own.
  BOOL Update(panels::ArticleCommand command, CCmdUI* ui);

  // Printing: what the current (or last) job prints, and starting one.
  panels::PrintKind GetPrintKind() const { return m_printKind; }
  void Print(panels::PrintKind kind, BOOL preview);
  void PrintFolder(int folder, BOOL preview);
  // Prints or previews what the last job printed.
  void StartJob(BOOL preview);

  // The job's pages, for the view's print overrides: the first page starts
  // at 0, each printed page gives the next one's start.
  void BeginJob(CDC* dc);
  void EndJob();
  // Whether the job goes on to the page: its start is known (the base view
  // would stop after the first page of a job of unknown length).
  BOOL HasPage(UINT page) const { return page <= static_cast<UINT>(m_pageStarts.GetSize()); }
  // Prints the page's body (the article's runs, the bookmark list or the
  // folder) into `body`.
  void PrintBody(CDC* dc, CPrintInfo* info, const CRect& body);
  const CDWordArray& PageStarts() const { return m_pageStarts; }

  void CopySelection() { CopyText(TRUE); }
  void CopyArticle() { CopyText(FALSE); }
  void Save();

 private:
  void ToggleNotes();
  void ToggleHighlights();
  void AddToFolder(BOOL listed);
  // The folder chooser: TRUE with the chosen folder after OK.
  BOOL ChooseFolder(int& folder);
  void CopyText(BOOL selection);
  BOOL InFolder() const;

  ArticleCommandOwner& m_owner;
  const panels::ArticleCommandId* m_ids;
  int m_count;
  panels::PrintKind m_printKind = panels::PrintArticleText;
  CDWordArray m_pageStarts;
};
