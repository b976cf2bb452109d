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
    r.rawPressure = static_cast<uint16_t>((i / 50) % 2 ? 1000 : 1800);
    r.tiltB = 0x20;   // tilt x
    r.tiltA = -0x20;  // tilt y
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
  const auto report = pen::EncodeDigitizerReport({});
  long allocations = 0;
  {
    pen::test::AllocationCounter counter;
    for (int i = 0; i < 1000; ++i) {
      Notification n{HIDDeviceDataReceived, DataEntry{}};
      std::get<DataEntry>(n.object).data.Assign(report.data(), report.size());
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
