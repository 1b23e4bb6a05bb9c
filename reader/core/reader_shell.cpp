#include "core/reader_shell.h"

ReaderShell* GetReaderShell() { return dynamic_cast<ReaderShell*>(AfxGetMainWnd()); }

BOOL ShowScreenOfButton(UINT id, Screen own) {
  const ScreenEntry* entry = ScreenOfButton(id);
  if (entry == nullptr || entry->screen == own) return FALSE;
  if (ReaderShell* shell = GetReaderShell()) shell->ShowScreen(entry->screen);
  return TRUE;
}

Screen OwnerScreen(CWnd* owner) {
  if (dynamic_cast<ReaderShell*>(owner) != nullptr) return Screen::Media;
  const auto* screen = dynamic_cast<const ReaderScreen*>(owner);
  return screen != nullptr ? screen->GetScreenKind() : Screen::Browser;
}
