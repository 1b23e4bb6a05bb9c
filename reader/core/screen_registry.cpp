#include "core/screen_registry.h"

#include <algorithm>

#include "reader/media_ids.h"
#include "reader/reader_ids.h"
#include "reader/timeline_quiz_ids.h"

namespace {

// In the order of Screen.
constexpr ScreenEntry kScreens[ScreenCount] = {
    {Screen::Home, IDR_HOME, 106, 0, 0, 0, 0, kSkinEncyclopedia, FALSE, FALSE, ""},
    {Screen::Browser, IDR_BROWSER, 101, ID_SHOW_BROWSER, IDC_SCREEN_ENCYCLOPEDIA, IDB_TQ_BUTTON_FIRST + 14, 1279,
     kSkinEncyclopedia, FALSE, TRUE, "Failed to create the Browser screen."},
    {Screen::Dictionary, IDR_DICTIONARY, 102, ID_SHOW_DICTIONARY, IDC_SCREEN_DICTIONARY, IDB_TQ_BUTTON_FIRST + 15, 4214,
     kSkinDictionary, FALSE, TRUE, "Failed to create the Dictionary screen."},
    {Screen::Quiz, IDR_QUIZ, 103, ID_SHOW_QUIZ, IDC_SCREEN_QUIZ, IDB_TQ_BUTTON_FIRST + 16, 4215, kSkinEncyclopedia,
     FALSE, TRUE, "Failed to create the Quiz screen."},
    {Screen::Timeline, IDR_TIMELINE, 104, ID_SHOW_TIMELINE, IDC_SCREEN_TIMELINE, IDB_TQ_BUTTON_FIRST + 18, 4213,
     kSkinTimeline, TRUE, TRUE, "Failed to create the Timeline screen."},
    {Screen::Media, IDR_MEDIA, 105, ID_SHOW_MEDIA, IDC_SCREEN_MEDIA, IDB_TQ_BUTTON_FIRST + 17, 4216, kSkinMedia, TRUE,
     FALSE, "Failed to create the Multimedia screen."},
};

constexpr bool InScreenOrder() {
  for (int i = 0; i < ScreenCount; ++i)
    if (static_cast<int>(kScreens[i].screen) != i) return false;
  return true;
}
static_assert(InScreenOrder(), "the table lists the screens in the order of Screen");

}  // namespace

const ScreenEntry& ScreenInfo(Screen screen) {
  const int index = static_cast<int>(screen);
  return kScreens[index >= 0 && index < ScreenCount ? index : 0];
}

const ScreenEntry* ScreenOfButton(UINT id) {
  if (id == 0) return nullptr;
  for (const ScreenEntry& entry : kScreens)
    if (entry.screenButton == id) return &entry;
  return nullptr;
}

std::vector<Screen> BandScreens(Screen own) {
  std::vector<Screen> band;
  for (const ScreenEntry& entry : kScreens)
    if (entry.screenButton != 0 && entry.screen != own) band.push_back(entry.screen);
  std::sort(band.begin(), band.end(),
            [](Screen a, Screen b) { return ScreenInfo(a).screenButton < ScreenInfo(b).screenButton; });
  return band;
}
