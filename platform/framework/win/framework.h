// The application framework: include this one header. It brings the
// portable core (afx_core.h) and the Win32 classes: windows and message maps,
// GDI wrappers, menus, controls, dialogs, documents and views, printing.
#pragma once

#include "afx_app.h"
#include "afx_controls.h"
#include "afx_core.h"
#include "afx_dialog.h"
#include "afx_docview.h"
#include "afx_gdi.h"
#include "afx_ids.h"
#include "afx_menu.h"
#include "afx_msgmap.h"
#include "afx_print.h"
#include "afx_wnd.h"
