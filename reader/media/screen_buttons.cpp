#include "media/screen_buttons.h"

#include "reader/media_ids.h"

namespace media {

BOOL SwitchScreen(UINT id, Screen own) {
  struct ScreenButton {
    UINT id;
    Screen screen;
  };
  static constexpr ScreenButton kButtons[] = {{IDC_SCREEN_ENCYCLOPEDIA, Screen::Browser},
                                              {IDC_SCREEN_DICTIONARY, Screen::Dictionary},
                                              {IDC_SCREEN_MEDIA, Screen::Media},
                                              {IDC_SCREEN_TIMELINE, Screen::Timeline},
                                              {IDC_SCREEN_QUIZ, Screen::Quiz}};
  for (const ScreenButton& button : kButtons)
    if (button.id == id && button.screen != own) {
      if (ReaderShell* shell = GetReaderShell()) shell->ShowScreen(button.screen);
      return TRUE;
    }
  return FALSE;
}

}  // namespace media
