// The 0.2 s timer: the pen leaves when reports stop.
#include <gtest/gtest.h>

#include "MacFakes.h"

namespace penmac::test {
namespace {

namespace t = event_type;
namespace f = event_field;

TabletReport TimedAt(uint16_t x, uint16_t y, uint16_t pressure) {
  TabletReport r;
  r.x = x;
  r.y = y;
  r.rawPressure = pressure;
  return r;
}

// One timer for the model's whole life: a tablet plugged in again must not
// add a second one, which would end proximity twice as fast.
TEST(Timer, OneFifthOfASecondTimerIsScheduledWhenTheModelIsBuiltAndNeverAgain) {
  DelegateRig rig;
  rig.delegate.onPlugout(Notification{HIDDeviceDisconnected, IdEntry{"/dev/hidraw0"}});
  rig.Plug("[R711]Pen Tablet", 0x2201);
  EXPECT_EQ(rig.loop.scheduled, 1);
  EXPECT_EQ(rig.loop.seconds, 0.2);
}

TEST(Timer, ReportsThatStopWhilePressedReleaseAtTheLastPlaceThenLeaveWithinTwoTicks) {
  DelegateRig rig;
  rig.Send(TimedAt(1024, 1024, 1800));
  rig.Send(TimedAt(1024, 1024, 938));
  rig.Send(TimedAt(1100, 1024, 938));
  rig.Take();
  rig.Tick();  // reports came during this tick: nothing
  EXPECT_TRUE(rig.Take().empty());
  rig.Tick();  // none since: the pen has gone
  const auto records = rig.Take();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].type, t::kLeftMouseUp);
  EXPECT_EQ(records[0].location, (Point{515.625, 270}));
  EXPECT_EQ(records[0].Integer(f::kClickState), 1);
  EXPECT_EQ(records[1].type, t::kTabletProximity);
  EXPECT_EQ(records[1].Integer(f::kProximityEnter), 0);
  EXPECT_EQ(records[1].location, (Point{515.625, 270}));
  EXPECT_EQ(records[2].type, t::kMouseMoved);
  EXPECT_FALSE(rig.delegate.isProximity);
  EXPECT_EQ(rig.delegate.prePressure, 0.0);
  EXPECT_EQ(rig.delegate.preLocation, (Point{0, 0}));
  EXPECT_EQ(rig.delegate.preTilt, (Point{0, 0}));
}

TEST(Timer, AHoveringPenLeavesWithoutAButtonRelease) {
  DelegateRig rig;
  rig.Send(TimedAt(1024, 1024, 1800));
  rig.Take();
  rig.Tick();
  rig.Tick();
  const auto records = rig.Take();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].type, t::kTabletProximity);
}

TEST(Timer, APenOnTheStripLeavesAfterAtMostTwoTicks) {
  DelegateRig rig;
  rig.Send(TimedAt(1024, 1024, 1800));
  rig.Tick();
  rig.Send(TimedAt(2000, 0xFFF0, 1000));  // strip reports do not count
  rig.Send(TimedAt(2000, 0xFFF0, 1000));
  rig.Tick();
  EXPECT_FALSE(rig.delegate.isProximity);
}

TEST(Timer, TheClickCountReturnsToOneOnAQuietTickWhileThePenIsAway) {
  DelegateRig rig;
  rig.Send(TimedAt(1024, 1024, 1800));
  for (int i = 0; i < 2; ++i) {
    rig.Send(TimedAt(1024, 1024, 938));
    rig.Send(TimedAt(1024, 1024, 1800));
  }
  EXPECT_EQ(rig.delegate.clickNum, 2);
  rig.Tick();  // counts down the reports
  rig.Tick();  // the pen leaves
  EXPECT_EQ(rig.delegate.clickNum, 2);
  rig.Tick();  // away and quiet
  EXPECT_EQ(rig.delegate.clickNum, 1);
}

TEST(Timer, TheFirstReportAfterLeavingEntersAgain) {
  DelegateRig rig;
  rig.Send(TimedAt(1024, 1024, 1800));
  rig.Tick();
  rig.Tick();
  rig.Take();
  rig.Send(TimedAt(1024, 1024, 938));
  const auto records = rig.Take();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].type, t::kTabletProximity);
  EXPECT_EQ(records[0].Integer(f::kProximityEnter), 1);
}

}  // namespace
}  // namespace penmac::test
