// The faces' portable part: the sectors' arcs, the name font's fitting and
// the averaging down to the face.
#include "ui/FaceGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace pen::face {
namespace {

TEST(FaceGeometry, EachArcCoversItsFunctionsSectorClockwise) {
  // Function 0 at the top: from 112.5 down to 67.5 degrees (y up).
  EXPECT_DOUBLE_EQ(ArcOf(0).start, 112.5);
  EXPECT_DOUBLE_EQ(ArcOf(0).sweep, -45.0);
  EXPECT_DOUBLE_EQ(ArcOf(2).start, 22.5);  // at the right: around 0
  EXPECT_DOUBLE_EQ(ArcOf(4).start, 292.5);  // at the bottom: around 270
  EXPECT_EQ(BoundaryBefore(0), 7);
  EXPECT_EQ(BoundaryAfter(3), 3);
}

TEST(FaceGeometry, ShortNamesGrowTheFontUntilTheWidestReaches315AndALongOneShrinksItTo345) {
  EXPECT_EQ(FitNameFont(36, [](int p) { return 8 * p; }), 40);   // 320 >= 315
  EXPECT_EQ(FitNameFont(36, [](int p) { return 12 * p; }), 28);  // 336
  EXPECT_EQ(FitNameFont(36, [](int p) { return 20 * p; }), 17);  // 340
  EXPECT_EQ(FitNameFont(36, [](int p) { return 9 * p; }), 36);   // 324: already fits
}

TEST(FaceGeometry, NamesThatMeasureNothingStopAtTheLargestFontInsteadOfGrowingForEver) {
  EXPECT_EQ(FitNameFont(36, [](int) { return 0; }), kMaxPoints);
  EXPECT_EQ(FitNameFont(36, [](int) { return 5000; }), kMinPoints);
}

TEST(FaceGeometry, EachFacePixelIsTheMeanOfItsThreeByThreeBlockPerChannel) {
  std::vector<uint32_t> dial(720 * 720, 0xFF000000);
  // The block of face pixel (10, 20): x 30..32, y 60..62.
  const uint32_t block[9] = {0xFF0000FF, 0xFF000000, 0xFF000000, 0xFF00FF00, 0xFF000000,
                             0xFF000000, 0xFFFF0000, 0xFF000009, 0xFF000000};
  for (int i = 0; i < 9; ++i) dial[static_cast<size_t>((60 + i / 3) * 720 + 30 + i % 3)] = block[i];
  std::vector<uint32_t> out(240 * 240);
  Average3x3(dial, out);
  // (255 + 9) / 9 = 29 blue, 255 / 9 = 28 green and red.
  EXPECT_EQ(out[20 * 240 + 10], 0xFF1C1C1Du);
  EXPECT_EQ(out[20 * 240 + 11], 0xFF000000u);
  EXPECT_EQ(out[0], 0xFF000000u);
}

}  // namespace
}  // namespace pen::face
