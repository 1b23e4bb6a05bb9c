// VELDRX32.EXE: the program's one application object. The framework's
// WinMain runs it.
#include "veldrix_app.h"

CVeldrixApp theApp;
