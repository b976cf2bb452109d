// The test canvas's strokes, without any drawing.
#include "mac/MYPath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace penmac {
namespace {

double Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

TEST(MYPath, AStrokeCollectsItsPointsWithAnOutlineAsWideAsThePressureMakesIt) {
  MYPath path;
  path.move({10, 50}, 0.0);
  path.line({20, 50}, 0.25, {});
  path.line({30, 50}, 1.0, {});
  ASSERT_EQ(path.MidPoint, (std::vector<Point>{{10, 50}, {20, 50}, {30, 50}}));
  ASSERT_EQ(path.Strokes.size(), 1u);
  EXPECT_EQ(path.Strokes[0].count, 3u);
  // Widths 1 at no pressure, 24 at full pressure, linear between.
  EXPECT_DOUBLE_EQ(Distance(path.UpPoint[0], path.DownPoint[0]), 1.0);
  EXPECT_DOUBLE_EQ(Distance(path.UpPoint[1], path.DownPoint[1]), 6.75);
  EXPECT_DOUBLE_EQ(Distance(path.UpPoint[2], path.DownPoint[2]), 24.0);
  // A horizontal stroke: the outline lies straight across it, the first
  // point's included, each side half the width from the centre.
  EXPECT_DOUBLE_EQ(path.UpPoint[0].x, 10);
  EXPECT_DOUBLE_EQ(std::fabs(path.UpPoint[2].y - 50), 12.0);
  EXPECT_DOUBLE_EQ(path.UpPoint[2].y - 50, -(path.DownPoint[2].y - 50));
  EXPECT_EQ(path.LPoint, (Point{30, 50}));
}

TEST(MYPath, TheWidthGrowsWithPressureAndWithTilt) {
  double previous = 0;
  for (const double pressure : {0.0, 0.1, 0.5, 0.9, 1.0}) {
    const double w = MYPath::Width(pressure);
    EXPECT_GT(w, previous) << pressure;
    previous = w;
  }
  EXPECT_GT(MYPath::Width(0.5, {0.6, 0.0}), MYPath::Width(0.5));
  EXPECT_DOUBLE_EQ(MYPath::Width(1.0, {-1, 0}), 36.0);
  // Out of range and undefined values count as their nearest end, or none.
  EXPECT_DOUBLE_EQ(MYPath::Width(7.0), 24.0);
  EXPECT_DOUBLE_EQ(MYPath::Width(-3.0), 1.0);
  EXPECT_DOUBLE_EQ(MYPath::Width(std::nan("")), 1.0);
}

TEST(MYPath, APointOnTopOfTheLastAddsNothing) {
  MYPath path;
  path.move({5, 5}, 0.5);
  path.line({5, 5}, 0.9, {});
  EXPECT_EQ(path.MidPoint.size(), 1u);
  path.line({5, 6}, 0.9, {});
  EXPECT_EQ(path.MidPoint.size(), 2u);
}

TEST(MYPath, EachMoveStartsAStrokeOfItsOwnAndClearForgetsThemAll) {
  MYPath path;
  path.move({0, 0}, 0.5);
  path.line({0, 10}, 0.5, {});
  path.move({100, 0}, 0.5);
  path.line({110, 0}, 0.5, {});
  path.line({120, 0}, 0.5, {});
  ASSERT_EQ(path.Strokes.size(), 2u);
  EXPECT_EQ(path.Strokes[1].first, 2u);
  EXPECT_EQ(path.Strokes[1].count, 3u);
  // A vertical stroke's outline lies across it horizontally.
  EXPECT_DOUBLE_EQ(path.UpPoint[1].y, 10);
  EXPECT_DOUBLE_EQ(std::fabs(path.UpPoint[1].x), MYPath::Width(0.5) / 2);

  path.clear();
  EXPECT_TRUE(path.MidPoint.empty());
  EXPECT_TRUE(path.UpPoint.empty());
  EXPECT_TRUE(path.DownPoint.empty());
  EXPECT_TRUE(path.Strokes.empty());
  EXPECT_TRUE(path.dash(0, 1).empty());
}

TEST(MYPath, DashGivesTheOutlineForwardOnTopAndBackBelow) {
  MYPath path;
  path.move({0, 0}, 0.0);
  path.line({10, 0}, 0.0, {});
  path.line({20, 0}, 0.0, {});
  const std::vector<Point> outline = path.dash(0, 3);
  ASSERT_EQ(outline.size(), 6u);
  EXPECT_EQ(outline[0], path.UpPoint[0]);
  EXPECT_EQ(outline[2], path.UpPoint[2]);
  EXPECT_EQ(outline[3], path.DownPoint[2]);
  EXPECT_EQ(outline[5], path.DownPoint[0]);
  EXPECT_EQ(path.dash(1, 2).size(), 4u);
  EXPECT_TRUE(path.dash(2, 2).empty());
  EXPECT_TRUE(path.dash(4, 1).empty());
}

}  // namespace
}  // namespace penmac
