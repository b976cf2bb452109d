// The pen path of the model makes no heap allocation per report: the
// replacement allocation functions count what the current thread asks for
// while armed and forward to malloc.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "MacFakes.h"

namespace {
thread_local bool g_armed = false;
thread_local long g_allocations = 0;

void* CountedAlloc(std::size_t size) {
  if (g_armed) ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return CountedAlloc(size); }
void* operator new[](std::size_t size) { return CountedAlloc(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (g_armed) ++g_allocations;
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (g_armed) ++g_allocations;
  return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

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
  g_allocations = 0;
  g_armed = true;
  for (int round = 0; round < 5; ++round) {
    for (const Notification& n : stroke) rig.delegate.onData(n);
    rig.Tick();
    rig.Tick();  // the pen leaves
  }
  g_armed = false;
  EXPECT_EQ(g_allocations, 0);
  EXPECT_GT(rig.poster.Total(), 1000u);
}

TEST(PenPath, AReportHandedFromTheHidThreadAllocatesNothing) {
  CountingWaker waker;
  NotificationCenter center(waker);
  long seen = 0;
  center.AddObserverOnMainQueue(HIDDeviceDataReceived, [&seen](const Notification&) { ++seen; });
  const uint8_t report[15] = {0x07};
  g_allocations = 0;
  g_armed = true;
  for (int i = 0; i < 1000; ++i) {
    Notification n{HIDDeviceDataReceived, DataEntry{}};
    std::get<DataEntry>(n.object).data.Assign(report, sizeof report);
    center.Post(std::move(n));
    if (i % 7 == 0) center.DrainMainQueue();
  }
  center.DrainMainQueue();
  g_armed = false;
  EXPECT_EQ(g_allocations, 0);
  EXPECT_EQ(seen, 1000);
}

}  // namespace
}  // namespace penmac::test
