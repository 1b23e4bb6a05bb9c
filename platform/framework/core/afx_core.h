// The portable part of the application framework: run-time classes and
// dynamic creation, the memory and resource exceptions, CString, the arrays and
// the geometry classes. It makes no Win32 call and builds in the native tree
// as well as in the win32 tree.
#pragma once

#include "afx_arrays.h"
#include "afx_geometry.h"
#include "afx_object.h"
#include "afx_resource.h"
#include "afx_string.h"
#include "afx_types.h"
