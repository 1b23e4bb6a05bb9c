#include "media/timeline/event_text.h"

#include <cstring>

#include "core/bookmarks.h"
#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "display/display.h"
#include "panels/article_commands.h"
#include "reader/timeline_quiz_ids.h"

BEGIN_MESSAGE_MAP(CTimelineEventText, CCmdTarget)
ON_COMMAND(ID_TL_SAVE, OnSave)
ON_UPDATE_COMMAND_UI(ID_TL_SAVE, OnUpdateEventCommand)
ON_COMMAND(ID_TL_COPY_SELECTED, OnCopySelected)
ON_UPDATE_COMMAND_UI(ID_TL_COPY_SELECTED, OnUpdateCopySelected)
ON_COMMAND(ID_TL_COPY_EVENT, OnCopyEvent)
ON_UPDATE_COMMAND_UI(ID_TL_COPY_EVENT, OnUpdateEventCommand)
ON_COMMAND(ID_TL_ANNOTATION, OnAnnotation)
ON_UPDATE_COMMAND_UI(ID_TL_ANNOTATION, OnUpdateAnnotation)
ON_COMMAND(ID_TL_HIGHLIGHT, OnHighlight)
ON_UPDATE_COMMAND_UI(ID_TL_HIGHLIGHT, OnUpdateHighlight)
ON_COMMAND(ID_TL_CLEAR_HIGHLIGHTS, OnClearHighlights)
ON_UPDATE_COMMAND_UI(ID_TL_CLEAR_HIGHLIGHTS, OnUpdateClearHighlights)
END_MESSAGE_MAP()

CString CTimelineEventText::NoticeBlock() {
  CString block("\r\n");
  block += CString('_', 40);
  block += "\r\n";
  block += kProductNotice;
  block += "\r\n";
  block += kTimelineNotice;
  return block;
}

BOOL CTimelineEventText::IsFiled(int article) {
  ReaderContext& app = Reader();
  for (int f = 0; f < app.m_folders.GetSize(); ++f)
    if (static_cast<CFolder*>(app.m_folders[f])->m_articles.Test(article)) return TRUE;
  return FALSE;
}

CString CTimelineEventText::TextWithNotice(BOOL selectionOnly) {
  CDisplay& display = m_view.GetDisplay();
  HGLOBAL handle = nullptr;
  const int length = selectionOnly ? display.CopySelection(&handle) : display.CopyAll(&handle);
  CString text;
  if (handle != nullptr) {
    if (length > 0)
      if (const char* bytes = static_cast<const char*>(::GlobalLock(handle))) {
        text = CString(bytes, static_cast<int>(strnlen(bytes, static_cast<std::size_t>(length))));
        ::GlobalUnlock(handle);
      }
    ::GlobalFree(handle);
  }
  if (text.IsEmpty()) return text;
  text += NoticeBlock();
  return text;
}

void CTimelineEventText::OnCopySelected() {
  const CString text = TextWithNotice(TRUE);
  if (!text.IsEmpty()) panels::PutOnClipboard(m_view.View().m_hWnd, static_cast<const char*>(text));
}

void CTimelineEventText::OnCopyEvent() {
  const CString text = TextWithNotice(FALSE);
  if (!text.IsEmpty()) panels::PutOnClipboard(m_view.View().m_hWnd, static_cast<const char*>(text));
}

void CTimelineEventText::OnUpdateCopySelected(CCmdUI* pCmdUI) {
  CDisplay& display = m_view.GetDisplay();
  pCmdUI->Enable(display.GetSafeHwnd() && display.HasSelection());
}

void CTimelineEventText::OnUpdateEventCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(m_view.GetCurrentArticle() > 0); }

CTimelineEventText::SaveOutcome CTimelineEventText::SaveTo(const char* path) {
  const CString text = TextWithNotice(FALSE);
  if (text.IsEmpty()) return SaveOutcome::Empty;
  // Written whole or not at all.
  ContentReplacement file(path);
  if (!file.IsOpen()) return SaveOutcome::NotCreated;
  const bool written =
      ContentWrite(file.File(), static_cast<const char*>(text), static_cast<u32>(text.GetLength())) && file.Commit();
  return written ? SaveOutcome::Saved : SaveOutcome::NotWritten;
}

void CTimelineEventText::OnSave() {
  // An empty event is refused before a name is asked for, as the article
  // screens refuse it; a file that cannot be created ends the command
  // quietly, as a cancelled name does; a failed write is reported.
  if (m_view.GetCurrentArticle() <= 0) return;
  if (TextWithNotice(FALSE).IsEmpty()) {
    AfxMessageBox(panels::kNothingToSave, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  CString path;
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr || !shell->AskTextFileName(path)) return;
  if (SaveTo(path) == SaveOutcome::NotWritten)
    AfxMessageBox("The event could not be saved to the file.", MB_OK | MB_ICONEXCLAMATION);
}

// ---- notes and highlights ----

void CTimelineEventText::OnAnnotation() {
  CDisplay& display = m_view.GetDisplay();
  display.SetNoteMode(!display.GetNoteMode());
  display.SetHighlightMode(FALSE);
}

void CTimelineEventText::OnHighlight() {
  CDisplay& display = m_view.GetDisplay();
  display.SetHighlightMode(!display.GetHighlightMode());
  display.SetNoteMode(FALSE);
}

void CTimelineEventText::OnClearHighlights() { m_view.GetDisplay().ClearHighlights(); }

void CTimelineEventText::OnUpdateAnnotation(CCmdUI* pCmdUI) {
  const int article = m_view.GetCurrentArticle();
  CDisplay& display = m_view.GetDisplay();
  pCmdUI->Enable(article > 0 && IsFiled(article));
  pCmdUI->SetCheck(display.GetSafeHwnd() && display.GetNoteMode());
}

void CTimelineEventText::OnUpdateHighlight(CCmdUI* pCmdUI) {
  const int article = m_view.GetCurrentArticle();
  CDisplay& display = m_view.GetDisplay();
  pCmdUI->Enable(article > 0 && IsFiled(article));
  pCmdUI->SetCheck(display.GetSafeHwnd() && display.GetHighlightMode());
}

void CTimelineEventText::OnUpdateClearHighlights(CCmdUI* pCmdUI) {
  CDisplay& display = m_view.GetDisplay();
  pCmdUI->Enable(display.GetSafeHwnd() && display.HasHighlights());
}
