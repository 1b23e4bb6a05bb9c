// The table of the screens: what the shell switches by must tell the screens
// apart, and Next Screen must reach every screen but the home screen.
#include "core/screen_registry.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <vector>

namespace {

TEST(ScreenRegistry, EachScreenHasIdsOfItsOwn) {
  std::set<UINT> templates, children, commands, buttons;
  for (int i = 0; i < ScreenCount; ++i) {
    const ScreenEntry& entry = ScreenInfo(static_cast<Screen>(i));
    EXPECT_EQ(entry.screen, static_cast<Screen>(i));
    EXPECT_TRUE(templates.insert(entry.templateId).second) << i;
    EXPECT_TRUE(children.insert(entry.childId).second) << i;
    // The home screen has its own command (Go Home) and no screen button.
    if (entry.screen == Screen::Home) continue;
    EXPECT_NE(entry.failure[0], '\0') << i;
    EXPECT_TRUE(commands.insert(entry.showCommand).second) << i;
    EXPECT_TRUE(buttons.insert(entry.screenButton).second) << i;
  }
  EXPECT_EQ(commands.count(0u), 0u);
  EXPECT_EQ(buttons.count(0u), 0u);
}

TEST(ScreenRegistry, TheCycleGoesThroughEveryScreenButHomeOnce) {
  std::set<Screen> cycled(std::begin(kScreenCycle), std::end(kScreenCycle));
  EXPECT_EQ(cycled.size(), std::size(kScreenCycle));
  EXPECT_EQ(cycled.size(), static_cast<std::size_t>(ScreenCount - 1));
  EXPECT_EQ(cycled.count(Screen::Home), 0u);
}

// The timeline's and the quiz's bands lead to every other screen with a
// button, in the order of the buttons' ids; a click finds its screen by the id.
TEST(ScreenRegistry, TheBandsLeadToTheOtherScreensInTheOrderOfTheirButtons) {
  EXPECT_EQ(BandScreens(Screen::Timeline),
            (std::vector<Screen>{Screen::Browser, Screen::Dictionary, Screen::Quiz, Screen::Media}));
  EXPECT_EQ(BandScreens(Screen::Quiz),
            (std::vector<Screen>{Screen::Browser, Screen::Dictionary, Screen::Media, Screen::Timeline}));
  for (int i = 0; i < ScreenCount; ++i) {
    const ScreenEntry& entry = ScreenInfo(static_cast<Screen>(i));
    if (entry.screenButton == 0) continue;
    ASSERT_NE(ScreenOfButton(entry.screenButton), nullptr) << i;
    EXPECT_EQ(ScreenOfButton(entry.screenButton)->screen, entry.screen);
  }
  EXPECT_EQ(ScreenOfButton(0), nullptr);
  EXPECT_EQ(ScreenOfButton(ScreenInfo(Screen::Browser).screenButton + 1), nullptr);
}

}  // namespace
