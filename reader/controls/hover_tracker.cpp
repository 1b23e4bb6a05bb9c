#include "controls/hover_tracker.h"

#include "messages/window_messages.h"

void CHoverTracker::Track(HWND under) {
  if (under == m_hover) return;
  if (m_hover != nullptr && ::IsWindow(m_hover)) ::SendMessageA(m_hover, WM_BUTTON_HOVER, 0, 0);
  m_hover = under;
  if (under != nullptr) ::SendMessageA(under, WM_BUTTON_HOVER, 1, 0);
}
