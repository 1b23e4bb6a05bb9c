#include "core/reader_shell.h"

ReaderShell* GetReaderShell() { return dynamic_cast<ReaderShell*>(AfxGetMainWnd()); }
