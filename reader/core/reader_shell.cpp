#include "core/reader_shell.h"

ReaderShell* GetReaderShell() { return dynamic_cast<ReaderShell*>(AfxGetMainWnd()); }

Screen OwnerScreen(CWnd* owner) {
  if (dynamic_cast<ReaderShell*>(owner) != nullptr) return Screen::Media;
  const auto* screen = dynamic_cast<const ReaderScreen*>(owner);
  return screen != nullptr ? screen->GetScreenKind() : Screen::Browser;
}
