#include "mac/ScreenLayout.h"

#include <gtest/gtest.h>

namespace penmac {
namespace {

TEST(ScreenLayout, OneScreenIsItsOwnBottomLeftFrame) {
  const auto layout = ScreenLayout::Parse("1920x1080");
  ASSERT_TRUE(layout);
  const auto screens = layout->Screens();
  ASSERT_EQ(screens.size(), 1u);
  EXPECT_EQ(screens[0].frame, (Rect{{0, 0}, {1920, 1080}}));
  EXPECT_EQ(layout->ToEventSpace({100, 1000}), (Point{100, 80}));
}

TEST(ScreenLayout, AScreenAboveThePrimaryHasAPositiveBottomLeftY) {
  const auto layout = ScreenLayout::Parse("1920x1080+0+1024,1280x1024+0+0");
  ASSERT_TRUE(layout);
  const auto screens = layout->Screens();
  EXPECT_EQ(screens[0].frame, (Rect{{0, 0}, {1920, 1080}}));
  EXPECT_EQ(screens[1].frame, (Rect{{0, 1080}, {1280, 1024}}));
  EXPECT_EQ(layout->DesktopInEventSpace(), (Rect{{0, -1024}, {1920, 2104}}));
  // The middle of the upper screen, bottom-left 1592 -> 512 above the primary.
  EXPECT_EQ(layout->ToEventSpace({640, 1592}), (Point{640, -512}));
}

TEST(ScreenLayout, AScreenLeftOfThePrimaryHasANegativeX) {
  const auto layout = ScreenLayout::Parse("1920x1080+1280+0,1280x1024+0+0");
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->Screens()[1].frame, (Rect{{-1280, 56}, {1280, 1024}}));
  EXPECT_EQ(layout->DesktopInEventSpace(), (Rect{{-1280, 0}, {3200, 1080}}));
}

TEST(ScreenLayout, RejectsMalformedText) {
  for (const char* bad : {"", "1920", "1920x", "x1080", "0x1080", "1920x1080,1280x1024", "1920x1080+1",
                          "1920x1080;", "-1920x1080", "1920x1080+0+0,", "99999999x1"}) {
    EXPECT_FALSE(ScreenLayout::Parse(bad)) << bad;
  }
}

}  // namespace
}  // namespace penmac
