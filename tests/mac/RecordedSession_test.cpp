// A recorded pen session (tests/data) through the model, report by report,
// with the 0.2 s timer ticking as the recording's time passes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MacFakes.h"
#include "pipeline/TabletRecording.h"

namespace penmac::test {
namespace {

namespace t = event_type;
namespace f = event_field;

// What the model posted for one report, and on the timer's ticks before it.
struct Seen {
  std::vector<EventRecord> ticks;
  std::vector<EventRecord> report;
};

std::vector<int32_t> Types(const std::vector<EventRecord>& records) {
  std::vector<int32_t> types;
  for (const auto& r : records) types.push_back(r.type);
  return types;
}

std::vector<Seen> Play(DelegateRig& rig, const std::string& name) {
  pen::TTabletRecording rec;
  // Appended, not added up: GCC 12 warns about a temporary string it
  // believes too short otherwise.
  std::string path = PEN_TEST_DATA_DIR;
  path.append("/").append(name);
  std::string error;
  EXPECT_TRUE(rec.LoadFile(path, error)) << error;
  constexpr uint32_t kTickMs = 200;
  uint32_t sinceTick = 0;
  std::vector<Seen> seen;
  Seen next;
  for (const pen::SessionStep& step : rec.steps) {
    for (sinceTick += step.delayMs; sinceTick >= kTickMs; sinceTick -= kTickMs) rig.Tick();
    if (step.kind != pen::SessionStep::Kind::Report) continue;
    next.ticks = rig.Take();
    rig.delegate.onData(DataNotification(std::vector<uint8_t>(step.bytes.begin(), step.bytes.begin() + step.size)));
    next.report = rig.Take();
    seen.push_back(next);
  }
  next.ticks = rig.Take();
  next.report.clear();
  seen.push_back(next);
  return seen;
}

TEST(RecordedSession, StrokeKeyWheelAndSoftKeyAsPenmacReadsThem) {
  DelegateRig rig;  // firmware 0x2201: the rest pressure comes with each report
  rig.delegate.keyDefs[0x0001] = KeyDef{"a", ""};
  const std::vector<Seen> s = Play(rig, "pen-session.txt");
  ASSERT_EQ(s.size(), 20u);

  // The pen comes near at (1024, 1024): the middle of a 1920 x 1080 screen's
  // upper left quarter.
  ASSERT_EQ(Types(s[0].report), (std::vector<int32_t>{t::kTabletProximity, t::kMouseMoved}));
  EXPECT_EQ(s[0].report[0].Integer(f::kProximityEnter), 1);
  EXPECT_EQ(s[0].report[0].location, (Point{480, 270}));
  EXPECT_EQ(Types(s[1].report), (std::vector<int32_t>{t::kMouseMoved}));
  // Raw 938, 512 below the rest pressure 1450, is full pressure at once; tilt
  // 55 AB is (1, -1).
  ASSERT_EQ(Types(s[2].report), (std::vector<int32_t>{t::kLeftMouseDown}));
  EXPECT_EQ(s[2].report[0].Double(f::kTabletPressure), 1.0);
  EXPECT_EQ(s[2].report[0].Double(f::kTabletTiltX), 1.0);
  EXPECT_EQ(s[2].report[0].Double(f::kTabletTiltY), -1.0);
  for (int i : {3, 4, 5, 6}) ASSERT_EQ(Types(s[i].report), (std::vector<int32_t>{t::kLeftMouseDragged})) << i;
  // Raw 1194 is half pressure; 76 units to the right are 35.625 points.
  EXPECT_EQ(s[5].report[0].Double(f::kTabletPressure), 0.5);
  EXPECT_EQ(s[5].report[0].location, (Point{515.625, 270}));
  EXPECT_EQ(Types(s[7].report), (std::vector<int32_t>{t::kLeftMouseUp}));
  for (int i : {8, 9, 10}) EXPECT_EQ(Types(s[i].report), (std::vector<int32_t>{t::kMouseMoved})) << i;
  // Bytes 7..8 zero are a rest pressure of 0 here, not a missing position:
  // the pen hovers on.
  ASSERT_EQ(Types(s[11].report), (std::vector<int32_t>{t::kMouseMoved}));
  EXPECT_EQ(s[11].report[0].location, (Point{515.625, 270}));

  // 600 ms without a report: the pen has left by the second tick.
  ASSERT_EQ(Types(s[12].ticks), (std::vector<int32_t>{t::kTabletProximity, t::kMouseMoved}));
  EXPECT_EQ(s[12].ticks[0].Integer(f::kProximityEnter), 0);
  // Key 1 is mask 0x0001: its definition goes down and up, and the report's
  // position is not processed.
  EXPECT_EQ(Types(s[12].report), (std::vector<int32_t>{t::kKeyDown}));
  EXPECT_EQ(Types(s[13].report), (std::vector<int32_t>{t::kKeyUp}));
  // Byte 12 = 0x37: one wheel step up, and nothing else.
  ASSERT_EQ(Types(s[14].report), (std::vector<int32_t>{t::kScrollWheel}));
  EXPECT_EQ(s[14].report[0].Integer(f::kScrollDeltaAxis1), 1);
  // The tip at X 2000 over the strip: 2000 × 10 div 4096 + 1 = soft key 5,
  // play/pause, pressed and released once.
  ASSERT_EQ(Types(s[15].report), (std::vector<int32_t>{t::kSystemDefined, t::kSystemDefined}));
  EXPECT_EQ(s[15].report[0].data1, (16 << 16) | 0xA00);
  EXPECT_EQ(s[15].report[1].data1, (16 << 16) | 0xB00);
  for (int i : {16, 17, 18}) EXPECT_TRUE(s[i].report.empty()) << i;
  EXPECT_TRUE(s[19].ticks.empty()) << "the strip is not the active area: no proximity to end";
}

}  // namespace
}  // namespace penmac::test
