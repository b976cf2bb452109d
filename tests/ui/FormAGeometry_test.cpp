#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "ui/FormALayout.h"
#include "ui/PenPictures.h"
#include "ui/PressureLine.h"
#include "ui/TestDrawArea.h"
#include "ui/Tracker.h"

namespace pen {
namespace {

TEST(PressureLine, KeepsTheLast254AndDrawsTheNewest40NewestAtTheRight) {
  TPressureLine chart;
  std::string error;
  for (int32_t v = 0; v < 300; ++v) ASSERT_TRUE(chart.Add(v, error));
  EXPECT_EQ(chart.Count(), 254u);
  EXPECT_EQ(chart.Newest(0), 299);
  EXPECT_EQ(chart.Newest(253), 46);
  const auto points = chart.Points(391, 8293);
  ASSERT_EQ(points.size(), 40u);
  EXPECT_EQ(points.back().x, 390);
  EXPECT_EQ(points.front().x, 0);
  EXPECT_EQ(points.back().y, 8192 - 299);
  // Fewer values than the chart shows still end at the right edge.
  TPressureLine few;
  few.Add(8192, error);
  few.Add(-100, error);
  const auto two = few.Points(391, 101);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1].x, 390);
  EXPECT_EQ(two[1].y, 100);
  EXPECT_EQ(two[0].y, 0);
}

TEST(PressureLine, RefusesValuesOutsideItsScale) {
  TPressureLine chart;
  std::string error;
  EXPECT_FALSE(chart.Add(8193, error));
  EXPECT_EQ(error, "Point value out of range (8193)");
  EXPECT_FALSE(chart.Add(-101, error));
  EXPECT_EQ(error, "Point value out of range (-101)");
  EXPECT_EQ(chart.Count(), 0u);
  const auto grid = TPressureLine::GridLines(85);
  EXPECT_EQ(grid.size(), 15u);
  EXPECT_EQ(grid.front(), 0);
  EXPECT_EQ(grid.back(), 84);
  EXPECT_EQ(BarFill(-100, 88), 0);
  EXPECT_EQ(BarFill(8192, 88), 88);
  EXPECT_EQ(BarFill(4046, 88), 44);
}

TEST(TestDrawArea, StrokeWidthsFollowThePressureAndSegmentsJoin) {
  TTestDrawArea area;
  area.Pressure = 2048;  // half-width 2 at the start
  area.MouseDown(10, 10);
  EXPECT_FALSE(area.LabelsVisible);
  StrokeStep step;
  EXPECT_FALSE(area.MouseMove(10, 10, step));  // no movement, nothing drawn
  area.Pressure = 4096;                        // half-width 4 at the new point
  ASSERT_TRUE(area.MouseMove(20, 10, step));
  // Across a horizontal segment the widths are vertical.
  EXPECT_DOUBLE_EQ(step.quad[0].x, 10);
  EXPECT_DOUBLE_EQ(std::fabs(step.quad[0].y - step.quad[1].y), 4);
  EXPECT_DOUBLE_EQ(step.quad[2].x, 20);
  EXPECT_DOUBLE_EQ(std::fabs(step.quad[2].y - step.quad[3].y), 8);
  EXPECT_DOUBLE_EQ(step.diameter, 8);
  EXPECT_DOUBLE_EQ(step.centre.x, 20);
  const StrokeStep first = step;
  area.Pressure = 1024;
  ASSERT_TRUE(area.MouseMove(20, 30, step));
  // The next segment starts on the previous one's end edge.
  EXPECT_DOUBLE_EQ(step.quad[0].x, first.quad[3].x);
  EXPECT_DOUBLE_EQ(step.quad[0].y, first.quad[3].y);
  EXPECT_DOUBLE_EQ(step.quad[1].y, first.quad[2].y);
  EXPECT_DOUBLE_EQ(std::fabs(step.quad[2].x - step.quad[3].x), 2);
  EXPECT_DOUBLE_EQ(step.diameter, 2);
  area.MouseUp();
  EXPECT_FALSE(area.MouseMove(40, 40, step));
  area.Clear();
  EXPECT_TRUE(area.LabelsVisible);
}

TEST(TestDrawArea, TheCursorIs170PixelsWithTheTiltLineAtHalfLength) {
  const CursorShape s = MakeCursorShape(-127, 60);
  EXPECT_EQ(CursorShape::kSize, 170);
  EXPECT_DOUBLE_EQ(s.centre.x, 85);
  EXPECT_DOUBLE_EQ(s.lineEnd.x, 85 - 63.5);
  EXPECT_DOUBLE_EQ(s.lineEnd.y, 85 + 30);
}

TEST(Tracker, TheEndsAreHardAndSoftAndTheThumbFollowsTheMouse) {
  constexpr int w = 256;
  EXPECT_EQ(tracker::ThumbLeft(-255, w), 0);
  EXPECT_EQ(tracker::ThumbLeft(255, w), w - tracker::kThumbWidth);
  EXPECT_EQ(tracker::ValueAt(0, w), -255);
  EXPECT_EQ(tracker::ValueAt(w, w), 255);
  EXPECT_EQ(tracker::ValueAt(w / 2, w), 0);
  EXPECT_EQ(tracker::ValueAt(-50, w), -255);
  EXPECT_EQ(tracker::ValueAt(w + 50, w), 255);
  EXPECT_LT(tracker::ThumbLeft(-1, w), tracker::ThumbLeft(1, w));
}

TEST(FormALayout, TheWindowIs847By488AndEveryControlFitsInItsParent) {
  EXPECT_EQ(form_a::kClientWidth, 847);
  EXPECT_EQ(form_a::kClientHeight, 488);
  const ControlLayout& draw = LayoutOf(FormAControl::pnlDrawArea);
  EXPECT_EQ(draw.width, 339);
  EXPECT_EQ(draw.height, 313);
  EXPECT_EQ(LayoutOf(FormAControl::img1).width, 78);
  EXPECT_EQ(LayoutOf(FormAControl::img1).height, 370);
  EXPECT_EQ(LayoutOf(FormAControl::CloseBtn).width, 32);
  for (const ControlLayout& s : FormAControls()) {
    const int pw = s.parent == FormAControl::kNone ? form_a::kClientWidth : LayoutOf(s.parent).width;
    const int ph = s.parent == FormAControl::kNone ? form_a::kClientHeight : LayoutOf(s.parent).height;
    // A drop-down list's height includes its opened list.
    const int h = s.kind == ControlKind::ComboBox ? 24 : s.height;
    EXPECT_GE(s.x, 0) << s.name;
    EXPECT_GE(s.y, 0) << s.name;
    EXPECT_LE(s.x + s.width, pw) << s.name;
    EXPECT_LE(s.y + h, ph) << s.name;
  }
}

TEST(PenPictures, TheShippedPicturesAreTheOnesWeDraw) {
  auto read = [](const char* name) {
    std::string path = PEN_UI_SOURCE_DIR;
    path.append("/pictures/").append(name);
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  const std::string pen = PenShapeBmp();
  EXPECT_EQ(read("PenShape.bmp"), pen) << "redraw with: make_pictures ui/pictures";
  EXPECT_EQ(read("Logo.bmp"), LogoBmp()) << "redraw with: make_pictures ui/pictures";
  // A 24-bit picture of 78 x 370 pixels.
  ASSERT_GT(pen.size(), 54u);
  EXPECT_EQ(pen.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<uint8_t>(pen[18]), 78);
  EXPECT_EQ(static_cast<uint8_t>(pen[22]) + 256 * static_cast<uint8_t>(pen[23]), 370);
  EXPECT_EQ(static_cast<uint8_t>(pen[28]), 24);
}

}  // namespace
}  // namespace pen
