// The screen window while the desktop's screens change under it.
#include <gtest/gtest.h>

#include "MacFakes.h"
#include "mac/SetupScreens.h"

namespace penmac::test {
namespace {

// The window open on two screens side by side, 1920x1080 and 1280x1024 to
// its right.
struct SetupScreensWhileScreensChange : ::testing::Test {
  SetupScreensWhileScreensChange() {
    rig.screens = *ScreenLayout::Parse("1920x1080+0+0,1280x1024+1920+0");
    window.OnAppear();
  }
  DelegateRig rig;
  SetupScreens window{rig.delegate, rig.screens};
};

TEST_F(SetupScreensWhileScreensChange, TheWholeDesktopFollowsTheScreensAsTheyAreNow) {
  rig.screens = *ScreenLayout::Parse("1920x1080");
  window.ScreensChanged();
  EXPECT_EQ(window.curRect, (Rect{{0, 0}, {1920, 1080}}));
  EXPECT_EQ(window.MenuLabel(), "Map Tablet to Multi-Screen");
  window.Ok();
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{0, 0}, {1920, 1080}}));
}

TEST_F(SetupScreensWhileScreensChange, AChosenScreenThatLeavesGivesWayToTheWholeDesktop) {
  window.Choose(2);
  rig.screens = *ScreenLayout::Parse("1920x1080");
  window.ScreensChanged();
  EXPECT_EQ(window.curScreen, "Multi Screens");
  EXPECT_EQ(window.curRect, (Rect{{0, 0}, {1920, 1080}}));
}

TEST_F(SetupScreensWhileScreensChange, AChosenScreenThatStaysKeepsItsNewPlace) {
  window.Choose(2);
  // Screen 2 moved to the left of the primary, its top edge level with it.
  rig.screens = *ScreenLayout::Parse("1920x1080+0+0,1280x1024-1280+0");
  window.ScreensChanged();
  EXPECT_EQ(window.curScreen, "Screen 2");
  EXPECT_EQ(window.curRect, (Rect{{-1280, 56}, {1280, 1024}}));
}

}  // namespace
}  // namespace penmac::test
