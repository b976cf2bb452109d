// The frames of the screen mapping window: units to pixels and back, the
// grip zones, and what a drag may and may not do.
#include "ui/SizeFrame.h"

#include <gtest/gtest.h>

namespace pen {
namespace {

constexpr MapRect kWholeArea{0, 0, 4095, 4095};

// 819 pixels stand for 4095 units: one pixel is five units.
class SizeFrame : public ::testing::Test {
 protected:
  TSizeFrame frame;
  void SetUp() override {
    frame.SetArea(kWholeArea);
    frame.SetBounds({100, 50, 919, 869});
  }
  void Drag(int fromX, int fromY, int dx, int dy) {
    frame.MouseDown(fromX, fromY);
    frame.MouseDrag(fromX + dx / 2, fromY + dy / 2);
    frame.MouseDrag(fromX + dx, fromY + dy);
    frame.MouseUp();
  }
};

TEST_F(SizeFrame, AnUntouchedFrameGivesBackExactlyTheAreaItWasGiven) {
  // 3001 and 3999 do not fall on whole pixels: measured back they would
  // come out as other values.
  for (const MapRect a : {MapRect{0, 0, 4095, 4095}, MapRect{1, 2, 3001, 3999}, MapRect{650, 650, 3500, 3500}}) {
    frame.SetArea(a);
    EXPECT_EQ(frame.Area(), a);
  }
  frame.SetArea({1, 2, 3001, 3999});
  frame.MouseDown(500, 400);  // a press without a move changes nothing
  frame.MouseUp();
  EXPECT_EQ(frame.Area(), (MapRect{1, 2, 3001, 3999}));
}

TEST(SizeFrameCreation, AFrameNeverGivenAnAreaCoversItsWholeBounds) {
  TSizeFrame fresh;
  fresh.SetBounds({214, 28, 777, 345});
  EXPECT_EQ(fresh.Rect(), (PixelRect{214, 28, 777, 345}));
  EXPECT_EQ(fresh.Area(), kWholeArea);
}

TEST_F(SizeFrame, UnitsBecomePixelsOverTheBoundsAndADraggedFrameIsMeasuredBack) {
  frame.SetArea({2000, 1000, 3000, 4095});
  EXPECT_EQ(frame.Rect(), (PixelRect{500, 250, 700, 869}));
  Drag(600, 500, 100, -50);  // moved: 100 pixels right, 50 up
  EXPECT_EQ(frame.Rect(), (PixelRect{600, 200, 800, 819}));
  EXPECT_EQ(frame.Area(), (MapRect{2500, 750, 3500, 3845}));
  // Measured once, the area stays what it was measured as.
  EXPECT_EQ(frame.Area(), (MapRect{2500, 750, 3500, 3845}));
}

TEST_F(SizeFrame, EachOfTheNineGripZonesShowsItsCursor) {
  struct Case {
    int x, y;
    GripZone zone;
    FrameCursor cursor;
  };
  // The frame covers (100, 50)-(919, 869); the bands are 5 pixels wide.
  const Case cases[] = {
      {102, 52, GripZone::TopLeft, FrameCursor::SizeNWSE},     {104, 400, GripZone::Left, FrameCursor::SizeWE},
      {100, 866, GripZone::BottomLeft, FrameCursor::SizeNESW}, {500, 54, GripZone::Top, FrameCursor::SizeNS},
      {500, 400, GripZone::Move, FrameCursor::Arrow},          {500, 864, GripZone::Bottom, FrameCursor::SizeNS},
      {914, 50, GripZone::TopRight, FrameCursor::SizeNESW},    {918, 400, GripZone::Right, FrameCursor::SizeWE},
      {916, 868, GripZone::BottomRight, FrameCursor::SizeNWSE}, {105, 55, GripZone::Move, FrameCursor::Arrow},
  };
  for (const Case& c : cases) {
    frame.MouseHover(c.x, c.y);
    EXPECT_EQ(frame.Zone(), c.zone) << c.x << "," << c.y;
    EXPECT_EQ(TSizeFrame::CursorOf(frame.Zone()), c.cursor) << c.x << "," << c.y;
  }
}

TEST_F(SizeFrame, EdgeAndCornerGripsMoveOnlyTheirEdges) {
  Drag(916, 400, -400, 0);  // right edge
  EXPECT_EQ(frame.Rect(), (PixelRect{100, 50, 519, 869}));
  EXPECT_EQ(frame.Area(), (MapRect{0, 0, 2095, 4095}));
  Drag(102, 52, 100, 200);  // top-left corner
  EXPECT_EQ(frame.Rect(), (PixelRect{200, 250, 519, 869}));
  Drag(300, 866, 0, -100);  // bottom edge
  EXPECT_EQ(frame.Rect(), (PixelRect{200, 250, 519, 769}));
  EXPECT_EQ(frame.Area(), (MapRect{500, 1000, 2095, 3595}));
}

TEST_F(SizeFrame, AFrameNeverGetsSmallerThan32PixelsOrLeavesItsBounds) {
  Drag(916, 866, -2000, -2000);  // bottom-right far past the top-left
  EXPECT_EQ(frame.Rect(), (PixelRect{100, 50, 132, 82}));
  EXPECT_EQ(frame.Area(), (MapRect{0, 0, 160, 160}));
  Drag(110, 60, -500, -500);  // moved out at the top-left
  EXPECT_EQ(frame.Rect(), (PixelRect{100, 50, 132, 82}));
  Drag(110, 60, 5000, 5000);  // and out at the bottom-right
  EXPECT_EQ(frame.Rect(), (PixelRect{887, 837, 919, 869}));
  EXPECT_EQ(frame.Area(), (MapRect{3935, 3935, 4095, 4095}));
}

TEST_F(SizeFrame, AFrameMadeWiderThanItsBoundsTakesTheBoundsWidthAtTheirLeftEdge) {
  frame.SetArea({2000, 1000, 3000, 2000});
  Drag(698, 400, 1000, 0);  // right edge far out
  EXPECT_EQ(frame.Rect(), (PixelRect{100, 250, 919, 450}));
  EXPECT_EQ(frame.Area(), (MapRect{0, 1000, 4095, 2000}));
  frame.SetArea({2000, 1000, 3000, 2000});
  Drag(600, 448, 0, 2000);  // bottom edge far out
  EXPECT_EQ(frame.Rect(), (PixelRect{500, 50, 700, 869}));
}

TEST_F(SizeFrame, APressClearsTheCaptionAndTheFrameIsDraggedOnlyUntilTheRelease) {
  frame.SetCaption(u"16:9");
  frame.MouseDown(500, 400);
  EXPECT_TRUE(frame.Dragging());
  EXPECT_EQ(frame.Caption(), u"");
  frame.MouseUp();
  EXPECT_FALSE(frame.Dragging());
  frame.MouseDrag(102, 400);  // no button: only the zone follows
  EXPECT_EQ(frame.Rect(), (PixelRect{100, 50, 919, 869}));
  EXPECT_EQ(frame.Zone(), GripZone::Left);
}

}  // namespace
}  // namespace pen
