// The table of the screens: what the shell switches by must tell the screens
// apart, and Next Screen must reach every screen but the home screen.
#include "core/screen_registry.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>

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

}  // namespace
