#include "panels/article_commands.h"

#include <cstring>

#include "core/content_file.h"
#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "panels/command_routing.h"
#include "panels/folder_dlgs.h"

namespace panels {

BOOL PutOnClipboard(HWND owner, const std::string& text) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  if (block == nullptr) return FALSE;
  void* bytes = ::GlobalLock(block);
  if (bytes == nullptr) {
    ::GlobalFree(block);
    return FALSE;
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  ::GlobalUnlock(block);
  if (!::OpenClipboard(owner)) {
    ::GlobalFree(block);
    return FALSE;
  }
  ::EmptyClipboard();
  // The clipboard owns the block once it took it.
  const BOOL taken = ::SetClipboardData(CF_TEXT, block) != nullptr;
  if (!taken) ::GlobalFree(block);
  ::CloseClipboard();
  return taken;
}

}  // namespace panels

namespace {

// The text of a display block (up to its first zero, at most `length`
// bytes); the block is freed.
std::string TakeText(HGLOBAL block, int length) {
  std::string text;
  if (block == nullptr) return text;
  if (const char* from = static_cast<const char*>(::GlobalLock(block))) {
    if (length > 0) text.assign(from, strnlen(from, static_cast<std::size_t>(length)));
    ::GlobalUnlock(block);
  }
  ::GlobalFree(block);
  return text;
}

}  // namespace

using panels::ArticleCommand;

CArticleCommands::CArticleCommands(ArticleCommandOwner& owner, const panels::ArticleCommandId* ids, int count)
    : m_owner(owner), m_ids(ids), m_count(count) {}

BOOL CArticleCommands::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  return panels::RouteCommand(*this, m_ids, m_count, nID, nCode, pExtra, pHandlerInfo);
}

void CArticleCommands::Run(ArticleCommand command) {
  switch (command) {
    case ArticleCommand::Notes: ToggleNotes(); break;
    case ArticleCommand::Highlights: ToggleHighlights(); break;
    case ArticleCommand::ClearHighlights: m_owner.ArticleDisplay().ClearHighlights(); break;
    case ArticleCommand::AddArticle: AddToFolder(FALSE); break;
    case ArticleCommand::AddSelected: AddToFolder(TRUE); break;
    case ArticleCommand::CopySelection: CopySelection(); break;
    case ArticleCommand::CopyArticle: CopyArticle(); break;
    case ArticleCommand::Save: Save(); break;
  }
}

BOOL CArticleCommands::Update(ArticleCommand command, CCmdUI* ui) {
  CDisplay& display = m_owner.ArticleDisplay();
  switch (command) {
    case ArticleCommand::Notes:
      ui->Enable(InFolder());
      ui->SetCheck(display.GetNoteMode() ? 1 : 0);
      return TRUE;
    case ArticleCommand::Highlights:
      ui->Enable(InFolder());
      ui->SetCheck(display.GetHighlightMode() ? 1 : 0);
      return TRUE;
    case ArticleCommand::ClearHighlights: ui->Enable(display.HasHighlights()); return TRUE;
    case ArticleCommand::AddSelected: ui->Enable(m_owner.HasArticleList()); return TRUE;
    case ArticleCommand::CopySelection: ui->Enable(m_owner.HasArticleText() && display.HasSelection()); return TRUE;
    default: return FALSE;  // the screen's own rule
  }
}

BOOL CArticleCommands::InFolder() const {
  const int article = m_owner.ArticleForFolders();
  return article > 0 && Reader().IsInBookmarkFolder(article);
}

// ---- notes and highlights: one mode at a time ------------------------------------------

void CArticleCommands::ToggleNotes() {
  CDisplay& display = m_owner.ArticleDisplay();
  display.SetHighlightMode(FALSE);
  display.SetNoteMode(!display.GetNoteMode());
}

void CArticleCommands::ToggleHighlights() {
  CDisplay& display = m_owner.ArticleDisplay();
  display.SetNoteMode(FALSE);
  display.SetHighlightMode(!display.GetHighlightMode());
}

// ---- bookmark folders --------------------------------------------------------------------

BOOL CArticleCommands::ChooseFolder(int& folder) {
  folder = -1;
  CNewFolderDlg chooser(&m_owner.ArticleView());
  if (chooser.DoModal() != IDOK) return FALSE;
  if (chooser.m_selection < 0 || chooser.m_selection >= Reader().m_folders.GetSize()) return FALSE;
  folder = chooser.m_selection;
  return TRUE;
}

void CArticleCommands::AddToFolder(BOOL listed) {
  ReaderContext& app = Reader();
  // Taken before the chooser, which may refill the list windows.
  CBitString articles(app.GetArticleCount(), FALSE);
  const int article = m_owner.ArticleForFolders();
  if (listed ? !m_owner.ListedArticles(articles) : article <= 0) return;
  int folder = -1;
  if (!ChooseFolder(folder)) return;
  if (listed)
    app.AddToFolder(folder, articles, TRUE);
  else
    app.SetInFolder(folder, article, TRUE);
}

// ---- copy and save ---------------------------------------------------------------------------

void CArticleCommands::CopyText(BOOL selection) {
  CDisplay& display = m_owner.ArticleDisplay();
  HGLOBAL block = nullptr;
  const int length = selection ? display.CopySelection(&block) : display.CopyAll(&block);
  // Nothing copied (no selection): the clipboard keeps what it held.
  if (length <= 0 || block == nullptr) {
    if (block != nullptr) ::GlobalFree(block);
    return;
  }
  const std::string text = TakeText(block, length) + m_owner.ArticleNotices();
  panels::PutOnClipboard(m_owner.ArticleView().m_hWnd, text);
}

void CArticleCommands::Save() {
  if (!m_owner.HasArticleText()) return;  // an empty display saves nothing
  // The text is taken before a name is asked for: when the display gives
  // none, no file is touched (a notices-only file would replace the reader's).
  HGLOBAL block = nullptr;
  const int length = m_owner.ArticleDisplay().CopyAll(&block);
  const std::string text = TakeText(block, length);
  if (text.empty()) {
    AfxMessageBox(panels::kNothingToSave, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  CString path;
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr || !shell->AskTextFileName(path)) return;
  const std::string content = text + m_owner.ArticleNotices();
  // Written whole or not at all. A file that cannot be created ends the
  // command quietly, as a cancelled name does; only a failed write is
  // reported (the old file, if there was one, is then as it was).
  ContentReplacement file(path);
  if (!file.IsOpen()) return;
  if (!ContentWrite(file.File(), content.data(), static_cast<u32>(content.size())) || !file.Commit()) {
    CString message;
    message.Format("Unable to write the file %s.", static_cast<LPCTSTR>(path));
    AfxMessageBox(message, MB_ICONEXCLAMATION | MB_OK);
  }
}
