// CMediaFrameWnd: the black frame of the media gallery in which the current
// picture or movie window floats. It keeps that window inside itself when it
// is resized and passes hot-spot clicks on to the gallery.
#pragma once

#include "framework.h"

class CMediaFrameWnd : public CWnd {
 public:
  BOOL Create(CWnd* parent, const RECT& rect, UINT id);

 protected:
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnSize(UINT nType, int cx, int cy);
  LRESULT OnRegionClick(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
