#include "pipeline/PktFifoBezier.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/FakeClock.h"

namespace pen {
namespace {

class FilterTest : public ::testing::Test {
 protected:
  test::FakeClock clock;
  TXYZFifo fifo{clock};

  // One sample every 5 ms, as the tablet sends them.
  FilterOutput Feed(int32_t x, int32_t y, int32_t p) {
    clock.Advance(5);
    return fifo.Feed(x, y, p);
  }
};

TEST_F(FilterTest, FirstSampleAfterStartPassesThroughEvenInTheSameMillisecond) {
  const FilterOutput o = fifo.Feed(1234, 567, 890);
  EXPECT_EQ(o.x, 1234);
  EXPECT_EQ(o.y, 567);
  EXPECT_EQ(o.p, 890);
  EXPECT_EQ(o.roundedX, 1234);
}

TEST_F(FilterTest, StepFromZeroToThousandOvershootsAboutSixPercentAndSettles) {
  Feed(0, 0, 0);
  const std::vector<double> expected = {166.67, 425.93, 767.49, 984.68, 1063.89, 1061.89, 1033.72, 1009.34, 997.06};
  for (double e : expected) {
    const FilterOutput o = Feed(1000, 0, 0);
    EXPECT_NEAR(static_cast<double>(o.x), e, 0.005);
    EXPECT_EQ(o.y, 0) << "channels are independent";
  }
  FilterOutput o;
  for (int i = 0; i < 200; ++i) o = Feed(1000, 0, 0);
  EXPECT_NEAR(static_cast<double>(o.x), 1000.0, 1e-9);
}

TEST_F(FilterTest, SteadyInputComesOutUnchanged) {
  Feed(4095, 2000, 700);
  for (int i = 0; i < 50; ++i) {
    const FilterOutput o = Feed(4095, 2000, 700);
    EXPECT_EQ(o.roundedX, 4095);
    EXPECT_EQ(o.roundedY, 2000);
    EXPECT_EQ(o.roundedP, 700);
  }
}

TEST_F(FilterTest, PauseOfMoreThan500MsRestartsButExactly500DoesNot) {
  Feed(0, 0, 0);
  clock.Advance(500);
  EXPECT_NEAR(static_cast<double>(fifo.Feed(1000, 0, 0).x), 166.67, 0.005) << "500 ms is not a pause";
  clock.Advance(501);
  EXPECT_EQ(fifo.Feed(3000, 10, 20).x, 3000) << "restarted from the new sample";
}

TEST_F(FilterTest, TickCounterWrapAroundIsNotAPause) {
  clock.now = 0xFFFFFFF0u;
  TXYZFifo wrapped(clock);
  wrapped.Feed(0, 0, 0);
  clock.now = 0x00000010u;  // 32 ms later, across the wrap
  EXPECT_NEAR(static_cast<double>(wrapped.Feed(1000, 0, 0).x), 166.67, 0.005);
  clock.now = 0x00000300u;
  EXPECT_EQ(wrapped.Feed(1000, 0, 0).x, 1000) << "a real pause across the wrap still restarts";
}

TEST_F(FilterTest, RestartRequestMakesTheNextSamplePassThroughOnce) {
  Feed(0, 0, 0);
  Feed(0, 0, 0);
  fifo.RequestRestart();
  EXPECT_EQ(Feed(2500, 1500, 300).x, 2500);
  EXPECT_EQ(Feed(2500, 1500, 300).x, 2500);
  EXPECT_NEAR(static_cast<double>(Feed(3500, 1500, 300).x), 2500 + 1000 / 6.0, 0.005) << "request consumed";
}

TEST_F(FilterTest, StepAdvancesOnStoredInputsAndReadRoundedMatchesIt) {
  Feed(0, 0, 0);
  Feed(1000, 1000, 1000);
  // Same inputs again (0, 0, 1000), previous outputs 0 and 1000/6.
  const FilterOutput o = fifo.Step();
  EXPECT_NEAR(static_cast<double>(o.x), 1000 / 6.0 * 17 / 9, 1e-9);  // 314.81
  int32_t x = 0, y = 0, p = 0;
  fifo.ReadRounded(x, y, p);
  EXPECT_EQ(x, 315);
  EXPECT_EQ(y, 315);
  EXPECT_EQ(p, 315);
  EXPECT_EQ(fifo.Current().x, o.x);
}

PenPacket Packet(uint8_t status, uint16_t x, uint16_t y, uint16_t p, int8_t a, int8_t b) {
  PenPacket pk;
  pk.SetStatus(status);
  pk.SetX(x);
  pk.SetY(y);
  pk.SetPressure(p);
  pk.SetTilt(a, b);
  return pk;
}

TEST_F(FilterTest, PacketPathScalesPositionBySixteenAndKeepsStatusAndTilt) {
  clock.Advance(5);
  PenPacket pk = Packet(0xC1, 100, 4095, 2047, -5, 7);
  fifo.FilterPacket(pk);
  EXPECT_EQ(pk.Status(), 0xC1);
  EXPECT_EQ(pk.X(), 1600);
  EXPECT_EQ(pk.Y(), 0xFFF0);
  EXPECT_EQ(pk.Pressure(), 2047);
  EXPECT_EQ(pk.TiltA(), -5);
  EXPECT_EQ(pk.TiltB(), 7);
}

TEST_F(FilterTest, PacketPathStepsTwicePerPacket) {
  clock.Advance(5);
  PenPacket pk = Packet(0xC0, 0, 0, 0, 0, 0);
  fifo.FilterPacket(pk);
  clock.Advance(5);
  pk = Packet(0xC0, 1000, 0, 1000, 0, 0);
  fifo.FilterPacket(pk);
  // 166.67 from the new sample, then 314.81 from a second step on the
  // same inputs: x16 = 5037.04
  EXPECT_EQ(pk.X(), 5037);
  EXPECT_EQ(pk.Pressure(), 315);
}

TEST_F(FilterTest, PacketPathClampsOvershootAndUndershoot) {
  PenPacket pk;
  for (int i = 0; i < 3; ++i) {
    clock.Advance(5);
    pk = Packet(0xC0, 0, 4095, 0, 0, 0);
    fifo.FilterPacket(pk);
  }
  bool sawTop = false, sawZero = false, sawMaxPressure = false;
  for (int i = 0; i < 6; ++i) {
    clock.Advance(5);
    pk = Packet(0xC0, 4095, 0, 2047, 0, 0);
    fifo.FilterPacket(pk);
    const FilterOutput o = fifo.Current();
    if (o.x > 4095) {
      sawTop = true;
      EXPECT_EQ(pk.X(), 0xFFF0);
    }
    if (o.y < 0) {
      sawZero = true;
      EXPECT_EQ(pk.Y(), 0);
    }
    if (o.p > 2047) {
      sawMaxPressure = true;
      EXPECT_EQ(pk.Pressure(), 2047);
    }
    EXPECT_LE(pk.X(), 0xFFF0);
    EXPECT_LE(pk.Pressure(), 2047);
  }
  EXPECT_TRUE(sawTop);
  EXPECT_TRUE(sawZero);
  EXPECT_TRUE(sawMaxPressure);
}

TEST_F(FilterTest, BothPathsShareOneFilterState) {
  Feed(0, 0, 0);
  PenPacket pk = Packet(0xC0, 1000, 0, 0, 0, 0);
  clock.Advance(5);
  fifo.FilterPacket(pk);  // two steps: 166.67, then 314.81
  // (0 + 1000)/6 + 1000/9 - 166.67/3 + 8 * 314.81/9
  EXPECT_NEAR(static_cast<double>(Feed(1000, 0, 0).x), 502.06, 0.005);
}

}  // namespace
}  // namespace pen
