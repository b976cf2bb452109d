#include "wintab/TabletSample.h"

#include <gtest/gtest.h>

namespace pen::wintab {
namespace {

TEST(OrientationFromTilt, AnUprightPenStandsAtNinetyDegreesWithAzimuthZero) {
  const ORIENTATION o = OrientationFromTilt(0, 0);
  EXPECT_EQ(o.orAzimuth, 0);
  EXPECT_EQ(o.orAltitude, 900);
  EXPECT_EQ(o.orTwist, 0);
}

TEST(OrientationFromTilt, ThePensDirectionGivesTheAzimuthClockwiseFromTheTopAndItsLeanTheAltitude) {
  // Leaning right by 45 degrees.
  EXPECT_EQ(OrientationFromTilt(45, 0).orAzimuth, 900);
  EXPECT_EQ(OrientationFromTilt(45, 0).orAltitude, 450);
  // Towards the top edge.
  EXPECT_EQ(OrientationFromTilt(0, -45).orAzimuth, 0);
  EXPECT_EQ(OrientationFromTilt(0, -45).orAltitude, 450);
  // Towards the bottom, and to the left by 30.
  EXPECT_EQ(OrientationFromTilt(0, 20).orAzimuth, 1800);
  EXPECT_EQ(OrientationFromTilt(0, 20).orAltitude, 700);
  EXPECT_EQ(OrientationFromTilt(-30, 0).orAzimuth, 2700);
  EXPECT_EQ(OrientationFromTilt(-30, 0).orAltitude, 600);
  // Both ways at once: down-right, the pen 35.26 degrees above the tablet.
  EXPECT_EQ(OrientationFromTilt(45, 45).orAzimuth, 1350);
  EXPECT_EQ(OrientationFromTilt(45, 45).orAltitude, 353);
}

TEST(OrientationFromTilt, ABytesWholeRangeStaysAboveTheTablet) {
  const ORIENTATION o = OrientationFromTilt(-128, 127);
  EXPECT_GT(o.orAltitude, 0);
  EXPECT_LT(o.orAltitude, 10);
  EXPECT_EQ(o.orAzimuth, 2250);
}

TEST(SampleFromSlot, TheRingsYCountsFromTheTopAndTheDevicesFromTheBottom) {
  RingSlot slot;
  slot.packet.SetStatus(0xC3);
  slot.packet.SetX(0x1234);
  slot.packet.SetY(0);
  slot.packet.SetPressure(1500);
  slot.packet.SetTilt(-45, 0);  // byte 7: along y (towards the top); byte 8: along x
  slot.time = 777;
  const TabletSample s = SampleFromSlot(slot);
  EXPECT_TRUE(s.inRange);
  EXPECT_EQ(s.buttons, 3u);
  EXPECT_EQ(s.x, 0x1234);
  EXPECT_EQ(s.y, 65520);
  EXPECT_EQ(s.pressure, 1500);
  EXPECT_EQ(s.orientation.orAzimuth, 0);
  EXPECT_EQ(s.orientation.orAltitude, 450);
  EXPECT_EQ(s.time, 777u);
  slot.packet.SetY(0xFFF0);
  EXPECT_EQ(SampleFromSlot(slot).y, 0);
}

TEST(SampleFromSlot, ThePenLeftPacketIsOutOfRangeAndValuesBeyondTheRangeAreHeldAtItsEdge) {
  RingSlot slot;
  slot.packet.SetStatus(0x80);
  slot.packet.SetX(0xFFFF);
  slot.packet.SetPressure(4000);
  const TabletSample s = SampleFromSlot(slot);
  EXPECT_FALSE(s.inRange);
  EXPECT_EQ(s.x, 65520);
  EXPECT_EQ(s.pressure, 2048);
}

}  // namespace
}  // namespace pen::wintab
