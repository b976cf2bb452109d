// The pen path of the model makes no heap allocation per report.
#include <gtest/gtest.h>

#include "MacFakes.h"
#include "support/AllocationCounter.h"

namespace penmac::test {
namespace {

TEST(PenPath, AStrokeThroughTheModelAndTheTimerAllocatesNothing) {
  DelegateRig rig;
  std::vector<Notification> stroke;
  for (int i = 0; i < 400; ++i) {
    TabletReport r;
    r.x = static_cast<uint16_t>(200 + i * 9);
    r.y = static_cast<uint16_t>(3000 - i * 5);
    r.pressure = static_cast<uint16_t>((i / 50) % 2 ? 1000 : 1800);
    r.tiltX = 0x20;
    r.tiltY = 0xE0;
    stroke.push_back(DataNotification(r.Bytes()));
  }
  long allocations = 0;
  {
    pen::test::AllocationCounter counter;
    for (int round = 0; round < 5; ++round) {
      for (const Notification& n : stroke) rig.delegate.onData(n);
      rig.Tick();
      rig.Tick();  // the pen leaves
    }
    allocations = counter.Count();
  }
  EXPECT_EQ(allocations, 0);
  EXPECT_GT(rig.poster.Total(), 1000u);
}

TEST(PenPath, AReportHandedFromTheHidThreadAllocatesNothing) {
  CountingWaker waker;
  NotificationCenter center(waker);
  long seen = 0;
  center.AddObserverOnMainQueue(HIDDeviceDataReceived, [&seen](const Notification&) { ++seen; });
  const uint8_t report[15] = {0x07};
  long allocations = 0;
  {
    pen::test::AllocationCounter counter;
    for (int i = 0; i < 1000; ++i) {
      Notification n{HIDDeviceDataReceived, DataEntry{}};
      std::get<DataEntry>(n.object).data.Assign(report, sizeof report);
      center.Post(std::move(n));
      if (i % 7 == 0) center.DrainMainQueue();
    }
    center.DrainMainQueue();
    allocations = counter.Count();
  }
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(seen, 1000);
}

}  // namespace
}  // namespace penmac::test
