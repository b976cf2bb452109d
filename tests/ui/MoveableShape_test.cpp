// The screen area's frame: the double-click cycle over the whole desktop and
// each monitor.
#include "ui/MoveableShape.h"

#include <gtest/gtest.h>

namespace pen {
namespace {

constexpr MapRect kWholeTablet{0, 0, 4095, 4095};

// Two 1920 x 1080 monitors side by side, pictured 800 x 225 pixels.
class TwoMonitors : public ::testing::Test {
 protected:
  TMoveableShape shape;
  void Open(const MapRect& area) {
    shape.SetDesktop({0, 0, 3840, 1080}, {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}});
    shape.SetArea(area);
    shape.SetBounds({0, 0, 800, 225});
  }
};

TEST_F(TwoMonitors, FromTheWholeDesktopTheCycleShowsMonitor1ThenMonitor2ThenTheWholeDesktop) {
  Open(kWholeTablet);
  EXPECT_EQ(shape.MonitorCycle(), 1);
  // Each monitor reaches one pixel further right and down than it scales.
  EXPECT_EQ(shape.MonitorRects()[0], (PixelRect{0, 0, 401, 226}));
  EXPECT_EQ(shape.MonitorRects()[1], (PixelRect{400, 0, 801, 226}));
  shape.Step();
  EXPECT_EQ(shape.Area(), (MapRect{0, 0, 2052, 4095}));
  shape.Step();
  // Right and bottom measure past 4095 and are capped there.
  EXPECT_EQ(shape.Area(), (MapRect{2047, 0, 4095, 4095}));
  shape.Step();
  EXPECT_EQ(shape.Area(), kWholeTablet);
  shape.Step();
  EXPECT_EQ(shape.Area(), (MapRect{0, 0, 2052, 4095}));
}

TEST_F(TwoMonitors, FromAPartOfTheDesktopTheFirstStepShowsTheWholeDesktop) {
  Open({100, 200, 3000, 3000});
  EXPECT_EQ(shape.MonitorCycle(), 0);
  shape.Step();
  EXPECT_EQ(shape.Area(), kWholeTablet);
  shape.Step();
  EXPECT_EQ(shape.Area(), (MapRect{0, 0, 2052, 4095}));
}

TEST(OneMonitor, TheCycleAlwaysGivesTheWholeDesktop) {
  TMoveableShape shape;
  shape.SetDesktop({0, 0, 1920, 1080}, {{0, 0, 1920, 1080}});
  shape.SetArea({100, 200, 3000, 3000});
  shape.SetBounds({20, 30, 580, 345});
  for (int i = 0; i < 3; ++i) {
    shape.Step();
    EXPECT_EQ(shape.Area(), kWholeTablet);
  }
}

TEST(ThreeMonitors, MonitorsLeftOfAndAboveTheMainOneAreScaledFromTheDesktopsOrigin) {
  TMoveableShape shape;
  // A monitor left of the main one gives the desktop a negative origin.
  shape.SetDesktop({-1280, -224, 3840, 1080},
                   {{0, 0, 1920, 1080}, {-1280, -224, 0, 800}, {1920, 0, 3840, 1080}});
  shape.SetArea(kWholeTablet);
  shape.SetBounds({0, 0, 512, 130});
  EXPECT_EQ(shape.MonitorRects()[0], (PixelRect{128, 22, 321, 131}));
  EXPECT_EQ(shape.MonitorRects()[1], (PixelRect{0, 0, 129, 103}));
  shape.Step();
  shape.Step();
  EXPECT_EQ(shape.Area(), (MapRect{0, 0, 1031, 3244}));
  shape.Step();
  shape.Step();
  EXPECT_EQ(shape.Area(), kWholeTablet);
}

}  // namespace
}  // namespace pen
