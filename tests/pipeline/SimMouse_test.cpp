#include "pipeline/SimMouse.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <vector>

#include "pipeline/ReportEncoder.h"
#include "pipeline/ReportFormat.h"
#include "support/FakeClock.h"

namespace pen {
namespace {

struct MouseCall {
  uint32_t flags;
  int32_t dx, dy;
  uint32_t data;
  uintptr_t extra;
};

class RecordingMouse : public IMouseInput {
 public:
  std::vector<MouseCall> calls;
  void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data, uintptr_t extra) override {
    calls.push_back({flags, dx, dy, data, extra});
  }
};

class MadeUpDisplay : public IDisplayInfo {
 public:
  DisplayGeometry geometry{1920, 1080, 0, 0, 1920, 1080};
  DisplayGeometry Read() override { return geometry; }
};

constexpr uint16_t kUp = 2000;    // raw pressure with the tip off the surface
constexpr uint16_t kDown = 1000;  // well below the default threshold

using Report = DigitizerSample;

Report At(uint16_t x, uint16_t y, uint16_t pressure = kUp) {
  Report r;
  r.x = x;
  r.y = y;
  r.rawPressure = pressure;
  return r;
}

// The report as the handler gets it.
std::array<uint8_t, kDigitizerReportSize> DataBytes(const Report& r) { return WithoutReportId(EncodeDigitizerReport(r)); }

class SimMouseTest : public ::testing::Test {
 protected:
  test::FakeClock clock;
  TXYZFifo fifo{clock};
  RecordingMouse mouse;
  MadeUpDisplay display;
  TSimMouse sim{fifo, mouse, display};

  SimMouseTest() { sim.SetArea({0, 0, 4095, 4095}); }

  // After a pause the filter passes the sample through unchanged, which keeps
  // positions exact; Stream keeps the filter running.
  void Fresh(const Report& r) {
    clock.Advance(600);
    Send(r);
  }
  void Stream(const Report& r) {
    clock.Advance(5);
    Send(r);
  }
  void Send(const Report& r) {
    const auto b = DataBytes(r);
    ASSERT_TRUE(sim.ProcessReport(b.data(), b.size()));
  }
  // Enough reports since start that the click filter no longer applies.
  void Settle() {
    for (int i = 0; i < 6; ++i) Fresh(At(2000, 2000));
    mouse.calls.clear();
  }
  size_t ButtonCalls(uint32_t button) const {
    size_t n = 0;
    for (const auto& c : mouse.calls) n += (c.flags & button) ? 1 : 0;
    return n;
  }
};

TEST_F(SimMouseTest, WholeTabletOnOneMonitorSpansTheAbsoluteRange) {
  Fresh(At(4095, 4095));
  ASSERT_EQ(mouse.calls.size(), 1u);
  EXPECT_EQ(mouse.calls[0].flags, 0x8001u);
  EXPECT_EQ(mouse.calls[0].dx, 65535);
  EXPECT_EQ(mouse.calls[0].dy, 65535);
  EXPECT_EQ(mouse.calls[0].data, 0u);
  EXPECT_EQ(mouse.calls[0].extra, 0u);
  Fresh(At(0, 0));
  ASSERT_EQ(mouse.calls.size(), 2u);
  EXPECT_EQ(mouse.calls[1].dx, 0);
  EXPECT_EQ(mouse.calls[1].dy, 0);
}

TEST_F(SimMouseTest, HalfTheVirtualScreenOfTwoSideBySideMonitorsMapsToThePrimary) {
  display.geometry = {1920, 1080, 0, 0, 3840, 1080};
  sim.RefreshScreenGeometry();
  sim.SetArea({0, 0, 2047, 4095});
  Fresh(At(4095, 0));
  ASSERT_EQ(mouse.calls.size(), 1u);
  // Pixel 1919.53..., so 65535 x 1919.53... / 1920 = 65518.996...
  EXPECT_EQ(mouse.calls[0].dx, 65519);
}

TEST_F(SimMouseTest, AScreenAreaAwayFromTheCornerShiftsAndScalesThePointer) {
  sim.SetArea({300, 1000, 2000, 1500});  // Top, Left, Width, Height
  Fresh(At(2000, 3000));
  ASSERT_EQ(mouse.calls.size(), 1u);
  EXPECT_EQ(mouse.calls[0].dx, 31636);  // S = 1976.80..., 31636.06...
  EXPECT_EQ(mouse.calls[0].dy, 22388);  // S = 1398.90..., 22387.54...
  // The packet follows the tablet area only.
  EXPECT_EQ(sim.Packet().X(), 32000);
  EXPECT_EQ(sim.Packet().Y(), 48000);
}

TEST_F(SimMouseTest, SecondaryMonitorLeftOfThePrimaryGivesNegativeAbsoluteCoordinates) {
  display.geometry = {1920, 1080, -1920, 0, 3840, 1080};
  sim.RefreshScreenGeometry();
  Fresh(At(0, 0));
  ASSERT_EQ(mouse.calls.size(), 1u);
  EXPECT_EQ(mouse.calls[0].dx, -65535);
}

TEST_F(SimMouseTest, UnchangedPositionWithoutAButtonEdgeSendsNothing) {
  Fresh(At(1000, 1000));
  Fresh(At(1000, 1000));
  Fresh(At(1000, 1001));  // may round to the same absolute position or not
  Fresh(At(1000, 1000));
  EXPECT_LE(mouse.calls.size(), 3u);
  EXPECT_GE(mouse.calls.size(), 1u);
  const size_t before = mouse.calls.size();
  for (int i = 0; i < 10; ++i) Stream(At(1000, 1000));
  EXPECT_EQ(mouse.calls.size(), before);
}

TEST_F(SimMouseTest, TipPressAndReleaseSendLeftDownAndUpWithTheMove) {
  Settle();
  Fresh(At(2000, 2000, kDown));
  ASSERT_EQ(mouse.calls.size(), 1u);
  EXPECT_EQ(mouse.calls[0].flags, 0x8003u);
  EXPECT_TRUE(sim.DownSent());
  Fresh(At(2000, 2000, kDown));
  EXPECT_EQ(mouse.calls.size(), 1u) << "held tip at the same place sends nothing";
  Fresh(At(2000, 2000, kUp));
  ASSERT_EQ(mouse.calls.size(), 2u);
  EXPECT_EQ(mouse.calls[1].flags, 0x8005u);
  EXPECT_FALSE(sim.DownSent());
}

TEST_F(SimMouseTest, PressWithinFiveReportsOfAReleaseNearTheEdgeIsIgnoredWithItsRelease) {
  Settle();
  Fresh(At(2000, 2000, kDown));
  Fresh(At(2000, 2000, kUp));
  mouse.calls.clear();
  Fresh(At(150, 2000, kUp));
  Fresh(At(150, 2000, kDown));  // second report since the release
  Fresh(At(150, 2000, kUp));
  EXPECT_EQ(ButtonCalls(mouse_flags::kLeftDown), 0u);
  EXPECT_EQ(ButtonCalls(mouse_flags::kLeftUp), 0u);
}

TEST_F(SimMouseTest, PressWithinFiveReportsOfAReleaseAwayFromTheEdgesCounts) {
  Settle();
  Fresh(At(2000, 2000, kDown));
  Fresh(At(2000, 2000, kUp));
  mouse.calls.clear();
  Fresh(At(2100, 2000, kDown));
  Fresh(At(2100, 2000, kUp));
  EXPECT_EQ(ButtonCalls(mouse_flags::kLeftDown), 1u);
  EXPECT_EQ(ButtonCalls(mouse_flags::kLeftUp), 1u);
}

TEST_F(SimMouseTest, EdgePressSixReportsAfterAReleaseCounts) {
  Settle();
  Fresh(At(2000, 2000, kDown));
  Fresh(At(2000, 2000, kUp));
  for (int i = 0; i < 5; ++i) Fresh(At(3900, 2000));
  mouse.calls.clear();
  Fresh(At(3900, 2000, kDown));  // sixth report since the release
  EXPECT_EQ(ButtonCalls(mouse_flags::kLeftDown), 1u);
}

TEST_F(SimMouseTest, ReportsWithoutPositionBetweenAReleaseAndAnEdgePressAreNotCounted) {
  Settle();
  Fresh(At(2000, 2000, kDown));
  Fresh(At(2000, 2000, kUp));
  Report none = At(150, 2000);
  none.inRange = false;
  for (int i = 0; i < 6; ++i) Fresh(none);
  mouse.calls.clear();
  Fresh(At(150, 2000, kDown));  // the first report since the release that counts
  Fresh(At(150, 2000, kUp));
  EXPECT_EQ(ButtonCalls(mouse_flags::kLeftDown), 0u);
  EXPECT_EQ(ButtonCalls(mouse_flags::kLeftUp), 0u);
}

TEST_F(SimMouseTest, FirstPressAfterStartNeedsSixReportsOrAPositionAwayFromTheEdges) {
  Fresh(At(100, 100, kDown));  // first report: at the edge
  EXPECT_EQ(ButtonCalls(mouse_flags::kLeftDown), 0u);
  Fresh(At(100, 100, kUp));
  Fresh(At(2000, 2000, kDown));  // within five, but away from the edges
  EXPECT_EQ(ButtonCalls(mouse_flags::kLeftDown), 1u);
}

TEST_F(SimMouseTest, EdgeLimitsAreExclusive) {
  for (uint16_t edge : {uint16_t{200}, uint16_t{3895}}) {
    Fresh(At(2000, 2000, kUp));
    Fresh(At(edge, 2000, kDown));
    Fresh(At(edge, 2000, kUp));
    Fresh(At(2000, edge, kDown));
    Fresh(At(2000, edge, kUp));
  }
  EXPECT_EQ(ButtonCalls(mouse_flags::kLeftDown), 0u);
}

TEST_F(SimMouseTest, LeftHandMirrorsBothAxesAndNegatesTilt) {
  sim.SetLeftHand(true);
  sim.SetTiltEnabled(true);
  Report r = At(100, 300);
  r.tiltA = 20;
  r.tiltB = -128;
  Fresh(r);
  ASSERT_EQ(mouse.calls.size(), 1u);
  EXPECT_EQ(mouse.calls[0].dx, 63935);  // 4095 - 100 = 3995: 63934.63...
  EXPECT_EQ(mouse.calls[0].dy, 60734);  // 4095 - 300 = 3795: 60733.90...
  EXPECT_EQ(sim.Packet().X(), 3995 * 16);
  EXPECT_EQ(sim.Packet().Y(), 3795 * 16);
  EXPECT_EQ(sim.TiltA(), -20);
  EXPECT_EQ(sim.TiltB(), -128) << "two's complement of -128 on a byte";
  EXPECT_EQ(sim.Packet().TiltA(), -20);
}

TEST_F(SimMouseTest, TiltIsZeroUnlessTheFirmwareSupportsIt) {
  Report r = At(100, 300);
  r.tiltA = 20;
  r.tiltB = -7;
  Fresh(r);
  EXPECT_EQ(sim.TiltA(), 0);
  EXPECT_EQ(sim.TiltB(), 0);
  EXPECT_EQ(sim.Packet().TiltA(), 0);
  sim.SetTiltEnabled(true);
  Fresh(r);
  EXPECT_EQ(sim.TiltA(), 20);
  EXPECT_EQ(sim.TiltB(), -7);
  EXPECT_EQ(sim.Packet().bytes[7], 20);
  EXPECT_EQ(sim.Packet().bytes[8], 0xF9);
}

TEST_F(SimMouseTest, PressureRisesFiveFoldBelowTheThresholdAndSaturates) {
  Fresh(At(2000, 2000, 1250));
  EXPECT_EQ(sim.Pressure(), 1000);
  EXPECT_EQ(sim.Packet().Pressure(), 1000);
  Fresh(At(2000, 2000, 1000));
  EXPECT_EQ(sim.Pressure(), 2047);
  Fresh(At(2000, 2000, 1450));
  EXPECT_EQ(sim.Pressure(), 0);
  EXPECT_EQ(sim.Mask() & mask_bits::kTip, 0u) << "at the threshold the tip is up";
  Fresh(At(2000, 2000, 1449));
  EXPECT_EQ(sim.Pressure(), 5);
  EXPECT_NE(sim.Mask() & mask_bits::kTip, 0u);
}

TEST_F(SimMouseTest, ThresholdFollowsTheDeviceSetting) {
  sim.SetThreshold(1450 - 255);
  Fresh(At(2000, 2000, 1250));
  EXPECT_EQ(sim.Pressure(), 0);
  sim.SetThreshold(1450 + 255);
  Fresh(At(2000, 2000, 1250));
  EXPECT_EQ(sim.Pressure(), 2047);
}

TEST_F(SimMouseTest, TipOverTheStripPressesASoftKeyAndNeverMovesThePointer) {
  Settle();
  Fresh(At(2000, 0xFFF0, kDown));
  EXPECT_EQ(sim.Mask(), 1u << 20);
  EXPECT_TRUE(mouse.calls.empty());
  EXPECT_EQ(sim.Packet().Y(), 0);
  EXPECT_EQ(sim.Packet().Status(), 0xC0);
  Fresh(At(2000, 0x8000, kUp));
  EXPECT_EQ(sim.Mask(), 0u);
  EXPECT_TRUE(mouse.calls.empty());
}

TEST_F(SimMouseTest, SoftKeyIsTakenBeforeTheLeftHandMirror) {
  sim.SetLeftHand(true);
  Fresh(At(100, 0x9000, kDown));
  EXPECT_EQ(sim.Mask(), 1u << 15);
}

TEST_F(SimMouseTest, SmoothedOvershootOverTheStripStaysOnTheTenSoftKeys) {
  for (int i = 0; i < 3; ++i) Stream(At(0, 0x9000, kDown));
  for (int i = 0; i < 8; ++i) {
    Stream(At(4095, 0x9000, kDown));
    EXPECT_EQ(std::popcount(sim.Mask()), 1);
    EXPECT_EQ(sim.Mask() & ~mask_bits::kSoftKeys, 0u);
  }
  for (int i = 0; i < 8; ++i) {
    Stream(At(0, 0x9000, kDown));
    EXPECT_EQ(std::popcount(sim.Mask()), 1);
    EXPECT_EQ(sim.Mask() & ~mask_bits::kSoftKeys, 0u);
  }
}

TEST_F(SimMouseTest, ReleaseOverTheStripStillReleasesTheButton) {
  Settle();
  Fresh(At(2000, 100, kDown));
  ASSERT_EQ(mouse.calls.size(), 1u);
  Fresh(At(2000, 0xFFF0, kUp));
  ASSERT_EQ(mouse.calls.size(), 2u);
  EXPECT_EQ(mouse.calls[1].flags, 0x8005u);
  EXPECT_EQ(mouse.calls[1].dx, mouse.calls[0].dx) << "released where the pointer is";
  EXPECT_EQ(mouse.calls[1].dy, mouse.calls[0].dy);
  EXPECT_FALSE(sim.DownSent());
}

TEST_F(SimMouseTest, ReportWithoutPositionIsDecodedButMovesAndClicksNothing) {
  Settle();
  Report r = At(3000, 3000, kDown);
  r.inRange = false;
  r.keysDown = 0x001;  // key 1
  r.wheelStep = 1;
  Fresh(r);
  EXPECT_TRUE(mouse.calls.empty());
  EXPECT_TRUE(sim.NoPosition());
  EXPECT_EQ(sim.Mask(), (1u << 3) | mask_bits::kTip);
  EXPECT_EQ(sim.WheelStep(), 1);
  EXPECT_EQ(sim.Packet().Status(), 0xC1);
  Fresh(At(3000, 3000, kDown));
  ASSERT_EQ(mouse.calls.size(), 1u);
  EXPECT_EQ(mouse.calls[0].flags, 0x8003u) << "the press is seen on the first report with a position";
}

TEST_F(SimMouseTest, SideButtonsAndKeysReachTheMaskButOnlyTipAndButtonOneTheStatus) {
  Report r = At(2000, 2000, kDown);
  r.sideValue = 4;
  Fresh(r);
  EXPECT_EQ(sim.Mask(), mask_bits::kTip | mask_bits::kSide1);
  EXPECT_EQ(sim.Packet().Status(), 0xC3);
  r.sideValue = 6;
  Fresh(r);
  EXPECT_EQ(sim.Mask(), mask_bits::kTip | mask_bits::kSide2);
  EXPECT_EQ(sim.Packet().Status(), 0xC1);
  r.sideValue = 5;
  r.rawPressure = kUp;
  r.keysDown = 0x400;  // key 11
  Fresh(r);
  EXPECT_EQ(sim.Mask(), 1u << 13);
  EXPECT_EQ(sim.Packet().Status(), 0xC0);
}

TEST_F(SimMouseTest, TabletAreaIsStretchedOverTheScreenAreaAndClampedOutsideIt) {
  sim.SetTabletArea({1000, 1000, 2047, 2047});
  Fresh(At(1000 + 2047, 1000));
  ASSERT_EQ(mouse.calls.size(), 1u);
  EXPECT_EQ(mouse.calls[0].dx, 65535);
  EXPECT_EQ(mouse.calls[0].dy, 0);
  EXPECT_EQ(sim.Packet().X(), 0xFFF0);
  Fresh(At(500, 4095));
  EXPECT_EQ(sim.Packet().X(), 0) << "left of the area";
  EXPECT_EQ(sim.Packet().Y(), 0xFFF0) << "below the area";
  EXPECT_EQ(mouse.calls.back().dx, 0);
}

TEST_F(SimMouseTest, EmptyTabletAreaOrMonitorDoesNotDivideByZero) {
  sim.SetTabletArea({1000, 1000, 0, 0});
  Fresh(At(1500, 1500));
  ASSERT_EQ(mouse.calls.size(), 1u);
  // Right of the area: clamped to 65535 area units before the screen mapping,
  // so 65535 x 65535 / 4095 = 1048800.05...
  EXPECT_EQ(mouse.calls[0].dx, 1048800);
  EXPECT_EQ(sim.Packet().X(), 0xFFF0) << "right of a zero-width area";
  Fresh(At(1000, 1000));
  EXPECT_EQ(sim.Packet().X(), 0) << "on a zero-width area";
  Fresh(At(500, 500));
  EXPECT_EQ(sim.Packet().X(), 0);

  display.geometry = {0, 0, 0, 0, 0, 0};
  sim.RefreshScreenGeometry();
  sim.SetTabletArea({0, 0, 4095, 4095});
  Fresh(At(4095, 4095));
  Fresh(At(2000, 2000));
  EXPECT_FALSE(mouse.calls.empty());
}

TEST_F(SimMouseTest, ShortReportChangesNothing) {
  Settle();
  Fresh(At(2000, 2000, kDown));
  const uint32_t mask = sim.Mask();
  const PenPacket packet = sim.Packet();
  const size_t calls = mouse.calls.size();
  const auto b = DataBytes(At(100, 100, kUp));
  for (size_t len = 0; len < b.size(); ++len) {
    std::vector<uint8_t> shortReport(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(len));
    EXPECT_FALSE(sim.ProcessReport(shortReport.data(), shortReport.size()));
  }
  EXPECT_EQ(sim.Mask(), mask);
  EXPECT_EQ(sim.Packet().bytes, packet.bytes);
  EXPECT_EQ(mouse.calls.size(), calls);
}

TEST_F(SimMouseTest, SmoothingLevelAboveThreeBecomesZeroAndReachesTheFilter) {
  sim.SetSmoothing(2);
  EXPECT_EQ(sim.Smoothing(), 2);
  EXPECT_EQ(fifo.Smoothing(), 2);
  sim.SetSmoothing(4);
  EXPECT_EQ(sim.Smoothing(), 0);
  EXPECT_EQ(fifo.Smoothing(), 0);
}

TEST_F(SimMouseTest, PositionIsSmoothedBeforeMapping) {
  Fresh(At(0, 2000));
  Stream(At(4000, 2000));  // the filter's first step after a jump: 4000 / 6
  ASSERT_EQ(mouse.calls.size(), 2u);
  EXPECT_EQ(mouse.calls[1].dx, 10669);       // 666.67 x 65535 / 4095 = 10669.11
  EXPECT_EQ(sim.Packet().X(), 10667);        // 666.67 x 16 = 10666.67
}

}  // namespace
}  // namespace pen
