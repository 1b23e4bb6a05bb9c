#include "display/line_scroll_bar.h"

#include <algorithm>

#include "controls/bar_geometry.h"
#include "controls/skin_environment.h"
#include "display/display_services.h"
#include "display/text_scroll.h"
#include "messages/window_messages.h"

namespace display {

namespace {

struct SkinBitmaps {
  int skin;
  UINT up, down, previous, next, thumb;
};
constexpr SkinBitmaps kSkins[] = {
    {kSkinEncyclopedia, 4034, 4031, 4035, 4032, 4033},
    {kSkinDictionary, 1201, 1200, 1203, 1202, 1204},
    {kSkinTimeline, 4172, 4168, 4173, 4169, 4153},
};

const SkinBitmaps& SkinOf(int skinType) {
  for (const SkinBitmaps& skin : kSkins) {
    if (skin.skin == skinType) return skin;
  }
  return kSkins[0];
}

// Frames of a button strip: normal, pressed, disabled.
constexpr int kButtonFrames = 3;

void Blit(CDC* dc, CBitmap& bitmap, const CRect& rect, int sourceX) {
  if (rect.IsRectEmpty()) return;
  BlitBitmap(dc, bitmap, rect.left, rect.top, rect.Width(), rect.Height(), sourceX, 0);
}

CPoint MessagePoint(LPARAM lParam) {
  return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

}  // namespace

void LineScrollBar::LoadSkin(int skinType) {
  skinType_ = skinType;
  const SkinBitmaps& skin = SkinOf(skinType);
  const UINT ids[4] = {skin.up, skin.down, skin.previous, skin.next};
  for (int i = 0; i < 4; ++i) {
    buttonBitmap_[i].DeleteObject();
    DisplayServices().LoadBitmap(ids[i], buttonBitmap_[i]);
  }
  thumbBitmap_.DeleteObject();
  DisplayServices().LoadBitmap(skin.thumb, thumbBitmap_);
}

CPoint LineScrollBar::WindowPoint(CPoint screen) const {
  CRect window;
  window_.GetWindowRect(&window);
  return CPoint(screen.x - window.left, screen.y - window.top);
}

CRect LineScrollBar::ClientInWindow() const {
  CRect client;
  window_.GetClientRect(&client);
  CPoint origin(0, 0);
  window_.ClientToScreen(&origin);
  const CPoint at = WindowPoint(origin);
  client.OffsetRect(at.x, at.y);
  return client;
}

void LineScrollBar::Layout() {
  if (window_.GetSafeHwnd() == nullptr) return;
  CRect window;
  window_.GetWindowRect(&window);
  const int right = window.Width() - 3;
  CSize size[4];
  for (int i = 0; i < 4; ++i) {
    const CSize strip = BitmapSize(buttonBitmap_[i]);
    size[i] = CSize(strip.cx / kButtonFrames, strip.cy);
  }
  CRect& up = buttonRect_[kUpArrow];
  CRect& down = buttonRect_[kDownArrow];
  up = CRect(right - size[kUpArrow].cx, 3, right, 3 + size[kUpArrow].cy);
  down = CRect(right - size[kDownArrow].cx, window.Height() - 3 - size[kDownArrow].cy, right, window.Height() - 3);
  // The hit buttons stand centred under the arrows, 2 pixels from them.
  const int previousLeft = up.left + (up.Width() - size[kPreviousHit].cx) / 2;
  buttonRect_[kPreviousHit] =
      CRect(previousLeft, up.bottom + 2, previousLeft + size[kPreviousHit].cx, up.bottom + 2 + size[kPreviousHit].cy);
  const int nextLeft = down.left + (down.Width() - size[kNextHit].cx) / 2;
  buttonRect_[kNextHit] = CRect(nextLeft, down.top - 2 - size[kNextHit].cy, nextLeft + size[kNextHit].cx, down.top - 2);
  track_ = CRect(up.left, buttonRect_[kPreviousHit].bottom + 2, up.right, buttonRect_[kNextHit].top - 2);
  if (track_.bottom < track_.top) track_.bottom = track_.top;
  const CSize thumb = BitmapSize(thumbBitmap_);
  const int thumbLeft = up.left + (up.Width() - thumb.cx) / 2;
  thumb_ = CRect(thumbLeft, track_.top, thumbLeft + thumb.cx, track_.top + thumb.cy);
  PlaceThumb();
}

void LineScrollBar::PlaceThumb() {
  const int height = thumb_.Height();
  int top = ThumbTop(track_.top, track_.Height(), height, topLine_, firstLine_, lastLine_);
  top = std::max(top, static_cast<int>(track_.top));
  thumb_.OffsetRect(0, top - thumb_.top);
}

void LineScrollBar::Paint(CDC* dc) {
  CRect window;
  window_.GetWindowRect(&window);
  window.OffsetRect(-window.left, -window.top);
  const CRect client = ClientInWindow();
  const int saved = dc->SaveDC();
  dc->ExcludeClipRect(&client);
  CSkinPaletteScope palette(dc, FALSE, DisplayServices().GetPalette());
  // The track in the skin's background, the frames in its edge and band brushes.
  const SkinBrushes brushes = BrushesOf(SkinOf(skinType_).skin);
  dc->FillRect(&window, DisplayServices().GetBrush(brushes.background));
  for (int i = 0; i < 4; ++i) {
    Blit(dc, buttonBitmap_[i], buttonRect_[i], state_[i] * buttonRect_[i].Width());
  }
  Blit(dc, thumbBitmap_, thumb_, 0);
  if (window_.GetStyle() & WS_BORDER) {
    dc->FrameRect(&window, DisplayServices().GetBrush(brushes.edge));
    CRect inner = client;
    inner.InflateRect(1, 1);
    dc->FrameRect(&inner, DisplayServices().GetBrush(brushes.band));
  }
  if (outlineShown_) dc->DrawFocusRect(&dragRect_);
  dc->RestoreDC(saved);
}

void LineScrollBar::Redraw() {
  if (window_.GetSafeHwnd() == nullptr || !window_.IsWindowVisible()) return;
  CWindowDC dc(&window_);
  Paint(&dc);
}

BOOL LineScrollBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_NCCALCSIZE: OnNcCalcSize(wParam, lParam); break;
    case WM_NCPAINT: {
      CWindowDC dc(&window_);
      Paint(&dc);
      break;
    }
    case WM_NCHITTEST:
      if (!HitsBar(MessagePoint(lParam))) return FALSE;
      *result = HTBORDER;
      return TRUE;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: Press(WindowPoint(MessagePoint(lParam))); break;
    case WM_SCROLL_PART: *result = OnScrollPart(wParam, lParam); return TRUE;
    case WM_TIMER:
      if (wParam < kPartTimerBase || wParam >= kPartTimerBase + 4) return FALSE;
      window_.SendMessage(WM_SCROLL_PART, wParam - kPartTimerBase, 0);
      break;
    default: return FALSE;
  }
  *result = 0;
  return TRUE;
}

void LineScrollBar::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  window_.DefWindowProc(WM_NCCALCSIZE, wParam, lParam);
  // Without valid rectangles lParam is the window rectangle alone: the first
  // of the parameters either way.
  RECT& client = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
  if (window_.GetStyle() & WS_BORDER) {
    ::InflateRect(&client, -::GetSystemMetrics(SM_CXBORDER), -::GetSystemMetrics(SM_CYBORDER));
  }
  client.right -= bar::kBarWidth;
  if (client.right < client.left) client.right = client.left;
}

BOOL LineScrollBar::HitsBar(CPoint screen) const {
  const CPoint at = WindowPoint(screen);
  for (const CRect& rect : buttonRect_) {
    if (rect.PtInRect(at)) return TRUE;
  }
  return thumb_.PtInRect(at) || track_.PtInRect(at);
}

void LineScrollBar::DrawDragOutline() {
  CWindowDC dc(&window_);
  dc.DrawFocusRect(&dragRect_);
  outlineShown_ = !outlineShown_;
}

void LineScrollBar::StopRepeat() {
  if (partTimer_ >= 0) window_.KillTimer(kPartTimerBase + static_cast<UINT_PTR>(partTimer_));
  partTimer_ = -1;
}

void LineScrollBar::Press(CPoint at) {
  StopRepeat();
  if (firstLine_ >= lastLine_) return;
  if (thumb_.PtInRect(at)) {
    window_.SetCapture();
    thumbDrag_ = TRUE;
    dragRect_ = dragStart_ = thumb_;
    DrawDragOutline();
    return;
  }
  int part = -1;
  if (track_.PtInRect(at)) {
    part = at.y < thumb_.top ? 2 : 3;
  } else if (buttonRect_[kUpArrow].PtInRect(at)) {
    part = 0;
  } else if (buttonRect_[kDownArrow].PtInRect(at)) {
    part = 1;
  } else {
    for (int button : {kPreviousHit, kNextHit}) {
      if (!buttonRect_[button].PtInRect(at) || state_[button] == kDisabled) continue;
      state_[button] = kPressed;
      Redraw();
      window_.SetCapture();  // the release returns it to normal
      owner_.GoToHit(button == kPreviousHit ? -1 : +1, TRUE);
      return;
    }
  }
  if (part < 0) return;
  window_.SetCapture();
  window_.SendMessage(WM_SCROLL_PART, static_cast<WPARAM>(part), static_cast<LPARAM>(-1));
}

LRESULT LineScrollBar::OnScrollPart(WPARAM wParam, LPARAM lParam) {
  StopRepeat();
  if (!owner_.MouseButtonDown()) return 0;
  const int part = static_cast<int>(wParam);
  const CPoint at = WindowPoint(owner_.MousePosition());
  if (part == 0 || part == 1) {
    const int button = part == 0 ? kUpArrow : kDownArrow;
    if (buttonRect_[button].PtInRect(at)) {
      state_[button] = kPressed;
      owner_.ScrollBy(part, 0);
      window_.UpdateWindow();
      Redraw();
    } else if (state_[button] == kPressed) {
      state_[button] = kNormal;
      Redraw();
    }
  } else if (part == 2) {
    if (track_.PtInRect(at) && at.y < thumb_.top) owner_.ScrollBy(2, 0);
  } else if (part == 3) {
    if (track_.PtInRect(at) && at.y >= thumb_.bottom) owner_.ScrollBy(3, 0);
  } else {
    return 0;
  }
  const UINT delay = lParam == -1 ? 500 : (part >= 2 ? 200 : 20);
  window_.SetTimer(kPartTimerBase + static_cast<UINT_PTR>(part), delay);
  partTimer_ = part;
  return 0;
}

BOOL LineScrollBar::DragThumb(CPoint point) {
  if (!thumbDrag_) return FALSE;
  const CRect client = ClientInWindow();
  const CPoint window(point.x + client.left, point.y + client.top);
  BOOL snapBack = FALSE;
  const int top = bar::DragTop(track_, thumb_.Height(), window, snapBack);
  DrawDragOutline();
  dragRect_ = snapBack ? dragStart_ : CRect(thumb_.left, top, thumb_.right, top + thumb_.Height());
  DrawDragOutline();
  return TRUE;
}

void LineScrollBar::EndThumbDrag() {
  if (outlineShown_) DrawDragOutline();
  thumbDrag_ = FALSE;
  if (dragRect_ == dragStart_) return;
  const int line = DropLine(dragRect_.top, track_.top, track_.Height(), thumb_.Height(), firstLine_, lastLine_);
  if (line != topLine_) owner_.ScrollBy(4, line);
}

BOOL LineScrollBar::Release() {
  StopRepeat();
  BOOL redraw = FALSE;
  for (int& state : state_) {
    if (state == kPressed) {
      state = kNormal;
      redraw = TRUE;
    }
  }
  if (redraw) Redraw();
  if (!thumbDrag_) return FALSE;
  EndThumbDrag();
  return TRUE;
}

int LineScrollBar::SetTopLine(int line, BOOL redraw) {
  const int previous = topLine_;
  topLine_ = line;
  PlaceThumb();
  if (redraw) Redraw();
  return previous;
}

void LineScrollBar::SetLineRange(int first, int last, BOOL redraw) {
  firstLine_ = first;
  lastLine_ = last;
  const int state = first < last ? kNormal : kDisabled;
  state_[kUpArrow] = state_[kDownArrow] = state;
  SetTopLine(first, redraw);
}

void LineScrollBar::DisableButtons() {
  for (int& state : state_) state = kDisabled;
  Redraw();
}

void LineScrollBar::EnableHitButtons() {
  if (state_[kPreviousHit] != kDisabled || state_[kNextHit] != kDisabled) return;
  state_[kPreviousHit] = state_[kNextHit] = kNormal;
  Redraw();
}

}  // namespace display
