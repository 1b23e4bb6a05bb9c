#include "media/screen_buttons.h"

namespace media {

BOOL SwitchScreen(UINT id, Screen own) {
  for (int i = 0; i < ScreenCount; ++i) {
    const Screen screen = static_cast<Screen>(i);
    if (id == 0 || ScreenInfo(screen).screenButton != id || screen == own) continue;
    if (ReaderShell* shell = GetReaderShell()) shell->ShowScreen(screen);
    return TRUE;
  }
  return FALSE;
}

}  // namespace media
