// CTimedBitmapDlg: a small modal popup that shows one bitmap resource of the
// program for 1.5 seconds and closes itself. Escape leaves it open; Enter
// closes it at once (IDOK).
#pragma once

#include "framework.h"

class CTimedBitmapDlg : public CDialog {
 public:
  static constexpr UINT TemplateId = 1263;
  static constexpr UINT TimerId = 100;
  static constexpr UINT ShowMilliseconds = 1500;

  explicit CTimedBitmapDlg(CWnd* parent = nullptr);

  // The bitmap resource to show; set before DoModal.
  UINT m_bitmapId = 0;

  BOOL OnInitDialog() override;
  void OnCancel() override;
  int GetBitmapWidth() const { return m_width; }
  int GetBitmapHeight() const { return m_height; }

 protected:
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnTimer(UINT nIDEvent);
  DECLARE_MESSAGE_MAP()

  CBitmap m_bitmap;
  int m_width = 0;
  int m_height = 0;
};
