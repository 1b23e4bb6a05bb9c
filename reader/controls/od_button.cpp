#include "controls/od_button.h"

namespace {
constexpr WORD kStripOrder[] = {CODButton::kUp,    CODButton::kHover,   CODButton::kDisabled,
                                CODButton::kFocus, CODButton::kChecked, CODButton::kDown};
}

int CODButton::FrameCount(WORD style) {
  int count = 0;
  for (WORD bit : kStripOrder) count += (style & bit) ? 1 : 0;
  return count;
}

int CODButton::FrameOffset(WORD style, WORD state, int frameWidth) {
  if (state == kUp || (style & state) == 0) return 0;
  int x = 0;
  for (WORD bit : kStripOrder) {
    if (bit == state) break;
    if (bit == kUp || (style & bit)) x += frameWidth;
  }
  return x;
}

void CODButton::MeasureStrip() {
  const CSize strip = BitmapSize(m_strip);
  // A style without any frame bit still has the one frame of its strip.
  const int frames = FrameCount(m_style) > 0 ? FrameCount(m_style) : 1;
  m_frameWidth = strip.cx / frames;
  m_frameHeight = strip.cy;
  const CSize label = BitmapSize(m_label);
  m_labelWidth = label.cx;
  m_labelHeight = label.cy;
}

BOOL CODButton::Create(const RECT& rect, CWnd* parent, UINT stripId, WORD style, UINT controlId, UINT alternativeId,
                       UINT unused, UINT labelId) {
  if (parent == nullptr) return FALSE;
  if (::GetDlgItem(parent->GetSafeHwnd(), static_cast<int>(controlId)) != nullptr) {
    if (!SubclassDlgItem(controlId, parent)) return FALSE;
    ModifyStyle(0x0F, BS_OWNERDRAW);
  } else if (!CButton::Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, parent, controlId)) {
    return FALSE;
  }
  return InitBitmaps(rect, parent, stripId, style, alternativeId, unused, labelId);
}

BOOL CODButton::InitBitmaps(const RECT& rect, CWnd* /*parent*/, UINT stripId, WORD style, UINT alternativeId,
                            UINT /*unused*/, UINT labelId) {
  m_style = style;
  m_strip.DeleteObject();
  m_label.DeleteObject();
  BOOL loaded = Skin().LoadDIB(alternativeId != 0 ? alternativeId : stripId, m_strip);
  if (labelId != 0) loaded = Skin().LoadDIB(labelId, m_label) && loaded;
  MeasureStrip();
  const int width = m_frameWidth + (m_labelWidth > 0 ? 3 + m_labelWidth : 0);
  const int height = m_frameHeight > m_labelHeight ? m_frameHeight : m_labelHeight;
  SetWindowPos(nullptr, rect.left, rect.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  return loaded;
}

BOOL CODButton::SetBitmap(UINT stripId, BOOL redraw) {
  if (m_hWnd == nullptr) return FALSE;
  m_strip.DeleteObject();
  if (!Skin().LoadDIB(stripId, m_strip)) return FALSE;
  MeasureStrip();
  SetWindowPos(nullptr, 0, 0, m_frameWidth + (m_labelWidth > 0 ? 3 + m_labelWidth : 0), m_frameHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (redraw) RedrawWindow();
  return TRUE;
}

void CODButton::SetCheck(int state) {
  if (state == m_checked) return;
  m_checked = state;
  if (m_hWnd != nullptr) RedrawWindow();
}

WORD CODButton::ChooseState(UINT itemState) const {
  if (itemState & ODS_SELECTED) return kDown;
  if (m_checked) {
    if (itemState & ODS_DISABLED) return kDisabled;
    return (m_style & kToggle) ? kDown : kChecked;
  }
  if (itemState & ODS_DISABLED) return kDisabled;
  if (m_hover) return kHover;
  if (itemState & ODS_FOCUS) return kFocus;
  return kUp;
}

void CODButton::DrawItem(LPDRAWITEMSTRUCT item) {
  if (m_suppressPaint) return;
  CDC* dc = CDC::FromHandle(item->hDC);
  CSkinPaletteScope palette(dc);
  const int x = FrameOffset(m_style, ChooseState(item->itemState), m_frameWidth);
  BlitBitmap(dc, m_strip, 0, 0, m_frameWidth, m_frameHeight, x, 0);
  if (m_label.GetSafeHandle() != nullptr)
    BlitBitmap(dc, m_label, m_frameWidth + 3, 0, m_labelWidth, m_labelHeight, 0, 0);
}

LRESULT CODButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return TRUE;
    case WM_LBUTTONUP:
      if (m_style & kToggle) {
        m_suppressPaint = TRUE;
        const LRESULT result = CButton::WindowProc(message, wParam, lParam);
        m_suppressPaint = FALSE;
        Invalidate(FALSE);
        UpdateWindow();
        return result;
      }
      break;
    case WM_BUTTON_HOVER: {
      const BOOL hover = wParam != 0;
      if (hover != m_hover && Skin().IsStarted() && (m_style & kHover)) {
        m_hover = hover;
        Invalidate(FALSE);
        UpdateWindow();
      }
      return 0;
    }
    default: break;
  }
  return CButton::WindowProc(message, wParam, lParam);
}
