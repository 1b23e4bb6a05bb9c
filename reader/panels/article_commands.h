// CArticleCommands: the commands both article screens (encyclopedia and
// dictionary) give on the article they show: the note and highlight modes
// and Clear Highlights, adding the article or the listed articles to a
// bookmark folder through the folder chooser, copying the selection or the
// article and saving it, the copies ending with the source notices. The
// view owns one, tells it which of its command ids mean which command and
// routes its commands to it (OnCmdMsg); what differs between the screens it
// asks of the view through ArticleCommandOwner. Their printing is the print
// job's (CPrintJob).
#pragma once

#include <string>

#include "core/bit_string.h"
#include "display/display.h"
#include "framework.h"

// What the commands need of the screen that shows the article.
class ArticleCommandOwner {
 public:
  virtual ~ArticleCommandOwner() = default;
  // The view that owns the dialogs and the clipboard.
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
  CopySelection,
  CopyArticle,
  Save,
};

// One of a screen's command ids (menu item or button) and what it means.
struct ArticleCommandId {
  UINT id;
  ArticleCommand command;
};

// Puts the text on the clipboard for `owner`; FALSE when it could not.
BOOL PutOnClipboard(HWND owner, const std::string& text);

// What Save says when the shown text is empty: no file is touched then.
inline constexpr const char* kNothingToSave = "There is no text to save.";

}  // namespace panels

class CArticleCommands : public CCmdTarget {
 public:
  CArticleCommands(ArticleCommandOwner& owner, const panels::ArticleCommandId* ids, int count);

  // The commands and update rules of the ids given, then nothing.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  void Run(panels::ArticleCommand command);
  // The enabling rule of a command; FALSE when the screen has its own.
  BOOL Update(panels::ArticleCommand command, CCmdUI* ui);

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
};
