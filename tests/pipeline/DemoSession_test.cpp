#include <gtest/gtest.h>

#include "pipeline/DemoSession.h"
#include "pipeline/ReportFormat.h"

namespace pen {
namespace {

// The settings window's demonstration must draw inside the test area it is
// aimed at, on a tablet whose pressure the window lets the user tune.
TEST(DrawingDemo, StaysInItsRectanglePressesTheTipThereAndEndsOutOfRange) {
  const TTabletRecording rec = MakeDrawingDemo(2300, 1700, 3300, 3000);
  EXPECT_EQ(rec.identity.version, 0x2100);  // up to 0x2110: pressure adjustable
  int pressed = 0, minRaw = 0xFFFF, maxRaw = 0;
  bool lastInRange = true;
  for (const SessionStep& s : rec.steps) {
    ASSERT_EQ(s.kind, SessionStep::Kind::Report);
    ASSERT_EQ(s.size, kDigitizerReportBytes);
    DigitizerReport r;
    ASSERT_TRUE(DecodeDigitizerReport(s.bytes.data() + 1, s.size - 1u, r));
    lastInRange = !r.noPosition;
    if (!lastInRange) continue;
    const int x = r.x, y = r.y, raw = r.rawPressure;
    EXPECT_GE(x, 2300);
    EXPECT_LE(x, 3300);
    EXPECT_GE(y, 1700);
    EXPECT_LE(y, 3000);
    // The host's press threshold is 1450 on this firmware.
    if (raw < 1450) {
      ++pressed;
      minRaw = std::min(minRaw, raw);
      maxRaw = std::max(maxRaw, raw);
    }
  }
  EXPECT_FALSE(lastInRange);
  EXPECT_GE(pressed, 100);
  EXPECT_GT(maxRaw - minRaw, 150);  // the stroke's width visibly changes
}

}  // namespace
}  // namespace pen
