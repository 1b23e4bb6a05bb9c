// CQVEPreviewView: the print preview of every screen that prints. It is the
// framework's preview view but for the area around the page images, which
// shows the application's background picture instead of a plain colour.
#pragma once

#include "framework.h"

class CQVEPreviewView : public CPreviewView {
  DECLARE_DYNCREATE(CQVEPreviewView)
 protected:
  BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()
};
