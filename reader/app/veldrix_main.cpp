// VELDRX32.EXE: the program's one application object. The framework's
// WinMain runs it.
#include "app/veldrix_app.h"

CVeldrixApp theApp;
