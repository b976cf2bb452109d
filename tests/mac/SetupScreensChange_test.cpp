// The screen window while the desktop's screens change under it.
#include <gtest/gtest.h>

#include "MacFakes.h"
#include "mac/SetupScreens.h"

namespace penmac::test {
namespace {

TEST(SetupScreensWhileScreensChange, TheWholeDesktopFollowsTheScreensAsTheyAreNow) {
  DelegateRig rig;
  rig.screens = *ScreenLayout::Parse("1920x1080+0+0,1280x1024+1920+0");
  SetupScreens window(rig.delegate, rig.screens);
  window.OnAppear();
  rig.screens = *ScreenLayout::Parse("1920x1080");
  window.ScreensChanged();
  EXPECT_EQ(window.curRect, (Rect{{0, 0}, {1920, 1080}}));
  EXPECT_EQ(window.MenuLabel(), "Map Tablet to Multi-Screen");
  window.Ok();
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{0, 0}, {1920, 1080}}));
}

TEST(SetupScreensWhileScreensChange, AChosenScreenThatLeavesGivesWayToTheWholeDesktop) {
  DelegateRig rig;
  rig.screens = *ScreenLayout::Parse("1920x1080+0+0,1280x1024+1920+0");
  SetupScreens window(rig.delegate, rig.screens);
  window.OnAppear();
  window.Choose(2);
  rig.screens = *ScreenLayout::Parse("1920x1080");
  window.ScreensChanged();
  EXPECT_EQ(window.curScreen, "Multi Screens");
  EXPECT_EQ(window.curRect, (Rect{{0, 0}, {1920, 1080}}));
}

TEST(SetupScreensWhileScreensChange, AChosenScreenThatStaysKeepsItsNewPlace) {
  DelegateRig rig;
  rig.screens = *ScreenLayout::Parse("1920x1080+0+0,1280x1024+1920+0");
  SetupScreens window(rig.delegate, rig.screens);
  window.OnAppear();
  window.Choose(2);
  // Screen 2 moved to the left of the primary, its top edge level with it.
  rig.screens = *ScreenLayout::Parse("1920x1080+0+0,1280x1024-1280+0");
  window.ScreensChanged();
  EXPECT_EQ(window.curScreen, "Screen 2");
  EXPECT_EQ(window.curRect, (Rect{{-1280, 56}, {1280, 1024}}));
}

}  // namespace
}  // namespace penmac::test
