#include "dictionary/dict_window_helpers.h"

#include "core/reader_context.h"
#include "messages/window_messages.h"

namespace dict {

void TrackHover(CWnd* self, HWND& hovered, CWnd* under) {
  HWND child = under != nullptr ? under->GetSafeHwnd() : nullptr;
  if (child == self->GetSafeHwnd()) child = nullptr;
  if (child == hovered) return;
  if (hovered != nullptr && ::IsWindow(hovered)) ::SendMessageA(hovered, WM_BUTTON_HOVER, 0, 0);
  hovered = child;
  if (child != nullptr) ::SendMessageA(child, WM_BUTTON_HOVER, 1, 0);
}

BOOL RealizeAppPalette(CWnd* window) {
  CPalette& palette = Reader().m_palette;
  if (palette.GetSafeHandle() == nullptr) return FALSE;
  CClientDC dc(window);
  CPalette* old = dc.SelectPalette(&palette, FALSE);
  const UINT changed = dc.RealizePalette();
  dc.SelectPalette(old, TRUE);
  if (changed > 0) window->Invalidate();
  return TRUE;
}

}  // namespace dict
