#include "media/screen_buttons.h"

namespace media {

void CScreenBand::Create(CWnd* parent, Screen own) {
  int i = 0;
  for (Screen screen : BandScreens(own)) {
    const ScreenEntry& entry = ScreenInfo(screen);
    m_buttons[i++].Create(CRect(0, 0, 96, 20), parent, entry.bandPicture, CODButton::kUsualStyle, entry.screenButton);
  }
}

void CScreenBand::Place(int y) {
  int x = 0;
  for (CODButton& button : m_buttons) {
    if (!button.GetSafeHwnd()) continue;
    CRect rect;
    button.GetWindowRect(&rect);
    button.MoveWindow(x, y, rect.Width(), rect.Height());
    x += rect.Width();
  }
}

}  // namespace media
