// What one report does: the order of the processing steps and the events
// each step posts.
#include <gtest/gtest.h>

#include "MacFakes.h"

namespace penmac::test {
namespace {

namespace t = event_type;
namespace f = event_field;

constexpr uint16_t kHover = 1800;  // above the rest pressure: no pressure
constexpr uint16_t kFull = 938;    // 1450 - 512: full pressure

TabletReport At(uint16_t x, uint16_t y, uint16_t pressure = kHover) {
  TabletReport r;
  r.x = x;
  r.y = y;
  r.rawPressure = pressure;
  return r;
}

std::vector<int32_t> TypesOf(const std::vector<EventRecord>& records) {
  std::vector<int32_t> types;
  for (const auto& r : records) types.push_back(r.type);
  return types;
}

class Processing : public ::testing::Test {
 protected:
  // Brings the pen near and takes away the proximity events.
  void Enter(uint16_t x = 1024, uint16_t y = 1024) {
    rig.Send(At(x, y));
    rig.Take();
  }
  DelegateRig rig;
};

TEST_F(Processing, TheFirstReportNearTheTabletPostsOnlyTheProximityEnter) {
  rig.Send(At(1024, 1024, kFull));
  const auto records = rig.Take();
  ASSERT_EQ(TypesOf(records), (std::vector<int32_t>{t::kTabletProximity, t::kMouseMoved}));
  EXPECT_EQ(records[0].Integer(f::kProximityEnter), 1);
  EXPECT_EQ(records[0].location, (Point{480, 270}));
  EXPECT_TRUE(rig.delegate.isProximity);
  // The pen state keeps its earlier values.
  EXPECT_EQ(rig.delegate.prePressure, 0.0);
  EXPECT_EQ(rig.delegate.preLocation, (Point{0, 0}));
}

TEST_F(Processing, HoverDownDragUpFollowThePressure) {
  Enter();
  rig.Send(At(1024, 1024));
  rig.Send(At(1024, 1024, kFull));
  rig.Send(At(1100, 1024, 1194));
  rig.Send(At(1100, 1024));
  const auto records = rig.Take();
  ASSERT_EQ(TypesOf(records),
            (std::vector<int32_t>{t::kMouseMoved, t::kLeftMouseDown, t::kLeftMouseDragged, t::kLeftMouseUp}));
  EXPECT_EQ(records[1].Double(f::kTabletPressure), 1.0);
  EXPECT_EQ(records[1].Integer(f::kClickState), 1);
  EXPECT_EQ(records[2].Double(f::kTabletPressure), 0.5);
  EXPECT_EQ(records[2].location, (Point{515.625, 270}));
  EXPECT_EQ(records[3].Double(f::kTabletPressure), 0.0);
  EXPECT_EQ(rig.delegate.prePressure, 0.0);
  EXPECT_EQ(rig.delegate.preLocation, (Point{515.625, 270}));
}

TEST_F(Processing, ASecondTapWithinThreePointsIsADoubleClick) {
  Enter();
  rig.Send(At(1024, 1024, kFull));  // (480, 270)
  rig.Send(At(1024, 1024));
  rig.Send(At(1028, 1024, kFull));  // 1.875 points to the right: inside the square
  rig.Send(At(1028, 1024));
  const auto records = rig.Take();
  ASSERT_EQ(TypesOf(records), (std::vector<int32_t>{t::kLeftMouseDown, t::kLeftMouseUp, t::kLeftMouseDown,
                                                   t::kLeftMouseUp}));
  EXPECT_EQ(records[0].Integer(f::kClickState), 1);
  EXPECT_EQ(records[2].Integer(f::kClickState), 2);
  EXPECT_EQ(records[3].Integer(f::kClickState), 2);
  // Inside the square the pointer stays where it is.
  EXPECT_FALSE(records[2].location.has_value());
}

TEST_F(Processing, ATapFourPointsAwayStartsCountingAgain) {
  Enter();
  rig.Send(At(1024, 1024, kFull));
  rig.Send(At(1024, 1024));
  // 4 points right of (480, 270): x = 1024 + 4 * 4096 / 1920.
  rig.Send(At(1033, 1024));
  rig.Send(At(1033, 1024, kFull));
  const auto records = rig.Take();
  ASSERT_EQ(records.back().type, t::kLeftMouseDown);
  EXPECT_EQ(records.back().Integer(f::kClickState), 1);
}

TEST_F(Processing, ThirdTapInTheSquareCountsThree) {
  Enter();
  for (int i = 0; i < 3; ++i) {
    rig.Send(At(1024, 1024, kFull));
    rig.Send(At(1024, 1024));
  }
  EXPECT_EQ(rig.delegate.clickNum, 3);
}

TEST_F(Processing, SoftKeysFireOncePerTouchAndAgainOnAnotherKey) {
  rig.Send(At(2000, 0xFFF0, 1000));  // key 5: play/pause
  rig.Send(At(2010, 0xFFF0, 1000));  // still key 5
  rig.Send(At(3000, 0xFFF0, 1000));  // key 8: brightness up
  const auto records = rig.Take();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].data1, (16 << 16) | 0xA00);
  EXPECT_EQ(records[1].data1, (16 << 16) | 0xB00);
  EXPECT_EQ(records[2].data1, (2 << 16) | 0xA00);
  EXPECT_EQ(rig.delegate.preMultiMedia, 8);
  EXPECT_FALSE(rig.delegate.isProximity);  // the strip is not the active area
}

TEST_F(Processing, LiftingOverTheStripArmsTheSoftKeyAgain) {
  rig.Send(At(2000, 0xFFF0, 1000));
  rig.Send(At(2000, 0xFFF0));  // lifted: 1800 is not below 1450 - 100
  rig.Send(At(2000, 0xFFF0, 1000));
  EXPECT_EQ(rig.Take().size(), 4u);
}

TEST_F(Processing, TheStripNeedsPressureBelowTheRestPressureMinus100) {
  rig.Send(At(2000, 0xFFF0, 1351));
  EXPECT_TRUE(rig.Take().empty());
  rig.Send(At(2000, 0xFFF0, 1349));
  EXPECT_EQ(rig.Take().size(), 2u);
}

TEST_F(Processing, ASoftKeyPastTheStripsEndIsRememberedButDoesNothing) {
  rig.Send(At(0x8000, 0xFFF0, 1000));
  EXPECT_TRUE(rig.Take().empty());
  EXPECT_EQ(rig.delegate.preMultiMedia, 0x8000 * 10 / 4096 + 1);
}

TEST_F(Processing, Row4096IsNeitherTheAreaNorTheStrip) {
  rig.Send(At(2000, 4096, 1000));
  EXPECT_TRUE(rig.Take().empty());
  EXPECT_FALSE(rig.delegate.isProximity);
  EXPECT_EQ(rig.delegate.dataCount, 0);
}

TEST_F(Processing, AWheelStepPostsTheScrollAndNothingElse) {
  Enter();
  TabletReport r = At(1500, 1500, kFull);
  r.wheelStep = -8;
  rig.Send(r);
  const auto records = rig.Take();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].type, t::kScrollWheel);
  EXPECT_EQ(records[0].Integer(f::kScrollDeltaAxis1), -8);
  EXPECT_EQ(rig.delegate.prePressure, 0.0);
}

TEST_F(Processing, ReportsShorterThanFifteenBytesAreIgnored) {
  auto bytes = At(1024, 1024).Bytes();
  bytes.resize(14);
  rig.delegate.onData(DataNotification(bytes));
  EXPECT_EQ(rig.poster.Total(), 0u);
  EXPECT_FALSE(rig.delegate.isProximity);
}

TEST_F(Processing, ANotificationWithoutReportBytesIsIgnored) {
  rig.delegate.onData(Notification{HIDDeviceDataReceived, IdEntry{"x"}});
  rig.delegate.onPlugin(Notification{HIDDeviceConnected, DataEntry{}});
  EXPECT_EQ(rig.poster.Total(), 0u);
  EXPECT_EQ(rig.delegate.deviceName, "[R711]Pen Tablet");
}

// ---- tablet buttons --------------------------------------------------------

class Buttons : public Processing {
 protected:
  // Bit 0 = key 1, 1 while held.
  TabletReport Keys(uint16_t down) {
    TabletReport r = At(1024, 1024);
    r.keysDown = down;
    return r;
  }
};

TEST_F(Buttons, APressedKeyPostsItsDefinitionAndSkipsThePosition) {
  rig.delegate.keyDefs[0x001] = KeyDef{"∙F5", "R"};
  Enter();
  rig.Send(Keys(0x001));
  const auto records = rig.Take();
  ASSERT_EQ(TypesOf(records), (std::vector<int32_t>{t::kKeyDown, t::kRightMouseDown}));
  EXPECT_EQ(records[0].keyCode, 96);
  EXPECT_EQ(records[1].Double(f::kTabletPressure), 1.0);
  EXPECT_FALSE(records[1].location.has_value());
  EXPECT_EQ(rig.delegate.buttonId, 0x001);
  EXPECT_TRUE(rig.delegate.isRight);

  rig.Send(Keys(0x000));
  const auto release = rig.Take();
  ASSERT_EQ(TypesOf(release), (std::vector<int32_t>{t::kKeyUp, t::kRightMouseUp}));
  EXPECT_EQ(release[1].Double(f::kTabletPressure), 0.0);
  EXPECT_EQ(rig.delegate.buttonId, 0);
  EXPECT_FALSE(rig.delegate.isRight);
}

TEST_F(Buttons, TwoKeysTogetherUseTheirOwnDefinitionForPressAndRelease) {
  rig.delegate.keyDefs[0x003] = KeyDef{"a", ""};
  rig.delegate.keyDefs[0x001] = KeyDef{"b", ""};
  rig.Send(Keys(0x003));  // keys 1 and 2 in one report
  rig.Send(Keys(0x000));  // both released: 0x003 | 0x000 is still 0x003
  const auto records = rig.Take();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].type, t::kKeyDown);
  EXPECT_EQ(records[0].keyCode, 0);  // "a"
  EXPECT_EQ(records[1].type, t::kKeyUp);
  EXPECT_EQ(records[1].keyCode, 0);
}

TEST_F(Buttons, LettingGoOfAChordOneKeyAtATimeReleasesItOnce) {
  rig.delegate.keyDefs[0x003] = KeyDef{"⌃a", ""};
  rig.Send(Keys(0x003));
  rig.Take();
  rig.Send(Keys(0x001));  // key 2 let go, key 1 still held: 0x003 | 0x001 = 0x003
  const auto records = rig.Take();
  ASSERT_EQ(TypesOf(records), (std::vector<int32_t>{t::kFlagsChanged, t::kKeyUp}));
  EXPECT_EQ(records[0].flags, 0u);
  EXPECT_EQ(rig.delegate.buttonId, 0x001);
  rig.Send(Keys(0x000));  // mask 1 has no definition: no key goes down or up again
  for (const auto& r : rig.Take()) EXPECT_EQ(r.origin, EventRecord::Origin::Plain);
}

TEST_F(Buttons, AnUndefinedKeyLeavesTheButtonStateAndLetsThePenThrough) {
  Enter();
  rig.Send(Keys(0x004));  // key 3, no definition
  EXPECT_EQ(TypesOf(rig.Take()), (std::vector<int32_t>{t::kMouseMoved}));
  EXPECT_EQ(rig.delegate.buttonId, 0);
}

TEST_F(Buttons, AHeldLeftDefinitionTurnsHoveringIntoDragging) {
  rig.delegate.keyDefs[0x004] = KeyDef{"", "L"};
  Enter();
  rig.Send(Keys(0x004));
  rig.Take();
  rig.Send(Keys(0x004));  // same mask: the pen goes on
  auto records = rig.Take();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].type, t::kLeftMouseDragged);
  EXPECT_EQ(records[0].Double(f::kTabletPressure), 1.0);
  rig.Send(Keys(0x000));
  rig.Send(Keys(0x000));
  records = rig.Take();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].type, t::kLeftMouseUp);
  EXPECT_EQ(records[1].type, t::kMouseMoved);
}

TEST_F(Buttons, HeldRightAndMiddleDefinitionsDragWithTheirButtons) {
  rig.delegate.keyDefs[0x001] = KeyDef{"", "RM"};
  Enter();
  rig.Send(Keys(0x001));
  rig.Take();
  rig.Send(Keys(0x001));
  auto records = rig.Take();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].type, t::kRightMouseDragged);
  EXPECT_EQ(records[0].Integer(f::kButtonNumber), 1);

  rig.delegate.keyDefs[0x002] = KeyDef{"", "M"};
  rig.Send(Keys(0x000));
  rig.Send(Keys(0x002));
  rig.Take();
  rig.Send(Keys(0x002));
  records = rig.Take();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].type, t::kOtherMouseDragged);
  EXPECT_EQ(records[0].Integer(f::kButtonNumber), 2);
}

TEST_F(Buttons, PlusAndMinusScrollOnThePressOnly) {
  rig.delegate.keyDefs[0x001] = KeyDef{"", "+"};
  rig.delegate.keyDefs[0x002] = KeyDef{"", "-"};
  rig.Send(Keys(0x001));
  rig.Send(Keys(0x000));
  rig.Send(Keys(0x002));
  rig.Send(Keys(0x000));
  const auto records = rig.Take();
  int up = 0, down = 0;
  for (const auto& r : records) {
    ASSERT_EQ(r.type, t::kScrollWheel);
    const int64_t step = *r.Integer(f::kScrollDeltaAxis1);
    (step > 0 ? up : down) += static_cast<int>(step > 0 ? step : -step);
  }
  EXPECT_GT(up, 0);
  EXPECT_GT(down, 0);
  EXPECT_EQ(up, down);
}

TEST_F(Buttons, KeySetupCapturesTheFirstMaskAndPostsNothingForButtons) {
  rig.delegate.keyDefs[0x001] = KeyDef{"a", ""};
  int changes = 0;
  rig.delegate.onChange = [&changes] { ++changes; };
  rig.delegate.keySetup = true;
  rig.Send(Keys(0x001));
  rig.Send(Keys(0x003));  // another button later does not change the capture
  EXPECT_EQ(rig.delegate.buttonId, 0x001);
  EXPECT_EQ(changes, 1);
  // The pen still works: the first report entered proximity, the second moved.
  EXPECT_EQ(TypesOf(rig.Take()), (std::vector<int32_t>{t::kTabletProximity, t::kMouseMoved, t::kMouseMoved}));
}

TEST_F(Buttons, TheSideButtonsAreButtonsLikeTheKeys) {
  rig.delegate.keyDefs[0x1000] = KeyDef{"", "R"};
  TabletReport r = At(1024, 1024);
  r.sideValue = 4;
  rig.Send(r);
  EXPECT_EQ(TypesOf(rig.Take()), (std::vector<int32_t>{t::kRightMouseDown}));
}

}  // namespace
}  // namespace penmac::test
