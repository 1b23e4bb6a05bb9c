// The module that resources are loaded from (win32 tree only). The program's
// own module until the application sets another.
#pragma once

#include "afx_types.h"

#if defined(_WIN32)
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE module);
#endif
