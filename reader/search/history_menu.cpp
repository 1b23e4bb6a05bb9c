#include "search/history_menu.h"

#include "core/reader_shell.h"
#include "panels/bookmark_menu.h"
#include "panels/command_routing.h"

void CSearchHistoryMenu::Refill() {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr || shell->Queries().GetHistoryCount() == 0) return;
  CMenu* search = panels::FindPopup(m_menu, "&Search");
  const int position = search == nullptr ? -1 : panels::PositionOf(*search, "Search &History");
  if (position < 0) return;
  search->EnableMenuItem(static_cast<UINT>(position), MF_BYPOSITION | MF_ENABLED);
  CMenu* history = search->GetSubMenu(position);
  if (history == nullptr) return;
  while (history->GetMenuItemCount() > 0) history->DeleteMenu(0, MF_BYPOSITION);
  const QuerySession& queries = shell->Queries();
  const int count = queries.GetHistoryCount();
  for (int i = 0; i < count; ++i)
    history->AppendMenu(MF_STRING, m_firstId + static_cast<UINT>(i), queries.GetHistoryEntry(count - 1 - i).label);
}

BOOL CSearchHistoryMenu::OnCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (nCode != CN_COMMAND || nID < m_firstId || nID >= m_firstId + QuerySession::HistorySize) return FALSE;
  if (panels::AnswerHandlerQuery(this, pHandlerInfo)) return TRUE;
  // The newest query is one step back.
  if (ReaderShell* shell = GetReaderShell()) shell->RecallQuery(static_cast<int>(nID - m_firstId) + 1);
  return TRUE;
}
