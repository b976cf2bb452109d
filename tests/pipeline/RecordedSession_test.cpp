// A recorded pen session (tests/data) through the pointer emulation, report
// by report, as the host's digitizer handler feeds it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pipeline/PktFifoBezier.h"
#include "pipeline/ReportFormat.h"
#include "pipeline/SimMouse.h"
#include "pipeline/TabletRecording.h"
#include "support/FakeClock.h"

namespace pen {
namespace {

class CountingMouse : public IMouseInput {
 public:
  int calls = 0, leftDowns = 0, leftUps = 0;
  void MouseEvent(uint32_t flags, int32_t, int32_t, uint32_t, uintptr_t) override {
    ++calls;
    if (flags & mouse_flags::kLeftDown) ++leftDowns;
    if (flags & mouse_flags::kLeftUp) ++leftUps;
  }
};

class OneMonitor : public IDisplayInfo {
 public:
  DisplayGeometry Read() override { return {1920, 1080, 0, 0, 1920, 1080}; }
};

// What the emulation made of one report.
struct Seen {
  int calls, leftDowns, leftUps;
  uint32_t mask;
  int wheel;
  bool noPosition;
};

std::vector<Seen> Play(const std::string& name) {
  TTabletRecording rec;
  // Appended, not added up: GCC 12 warns about a temporary string it
  // believes too short otherwise.
  std::string path = PEN_TEST_DATA_DIR;
  path.append("/").append(name);
  std::string error;
  EXPECT_TRUE(rec.LoadFile(path, error)) << error;
  test::FakeClock clock;
  TXYZFifo fifo(clock);
  CountingMouse mouse;
  OneMonitor display;
  TSimMouse sim(fifo, mouse, display);
  sim.SetArea({0, 0, 4095, 4095});
  std::vector<Seen> seen;
  for (const SessionStep& step : rec.steps) {
    clock.Advance(step.delayMs);
    if (step.kind != SessionStep::Kind::Report || step.iface != TabletInterface::B) continue;
    const CountingMouse before = mouse;
    // The handler gets the bytes after the report ID.
    EXPECT_TRUE(sim.ProcessReport(step.bytes.data() + 1, step.size - 1u));
    seen.push_back({mouse.calls - before.calls, mouse.leftDowns - before.leftDowns, mouse.leftUps - before.leftUps,
                    sim.Mask(), sim.WheelStep(), sim.NoPosition()});
  }
  return seen;
}

TEST(RecordedSession, StrokeKeyWheelAndSoftKeyAsTheHostReadsThem) {
  const std::vector<Seen> s = Play("pen-session.txt");
  ASSERT_EQ(s.size(), 19u);
  // Hover, stroke (raw 938 and 1194), lift (raw 1800): the smoothed pressure
  // crosses 1450 once each way, never before the raw pressure did, and the
  // tip is the only bit of the mask.
  int downs = 0, ups = 0, downAt = -1, upAt = -1;
  for (int i = 0; i < 11; ++i) {
    if (s[i].leftDowns) downAt = i;
    if (s[i].leftUps) upAt = i;
    downs += s[i].leftDowns;
    ups += s[i].leftUps;
    EXPECT_EQ(s[i].mask & ~mask_bits::kTip, 0u) << i;
    EXPECT_EQ(s[i].wheel, 0) << i;
  }
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);
  ASSERT_GE(downAt, 2);
  EXPECT_GE(upAt, 7);
  EXPECT_EQ(s[0].calls, 1) << "the pointer goes where the pen is";
  EXPECT_EQ(s[downAt].mask, mask_bits::kTip);
  EXPECT_EQ(s[10].mask, 0u);
  // Bytes 7..8 zero: decoded, but no pointer output.
  EXPECT_TRUE(s[11].noPosition);
  EXPECT_EQ(s[11].calls, 0);
  // Key 1 is mask bit 3; the keys byte 0x37 is one wheel step up.
  EXPECT_EQ(s[12].mask, 1u << 3);
  EXPECT_EQ(s[13].mask, 0u);
  EXPECT_EQ(s[14].wheel, 1);
  EXPECT_EQ(s[14].mask, 0u);
  // The tip at X 2000 over the strip: (2000 + 160) div 430 = 5, mask bit
  // 20 and no tip bit, the pointer staying where it is; lifting lets go.
  EXPECT_EQ(s[15].mask, 1u << 20);
  EXPECT_EQ(s[15].calls, 0);
  EXPECT_EQ(s[18].mask, 0u);
}

}  // namespace
}  // namespace pen
