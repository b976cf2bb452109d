// penmac_soak: counts the heap allocations of penmac's report path over a
// long run (scripts/soak.sh). Each report goes the way the HID thread hands
// it over: posted to the notification center, then drained by the main queue
// into the model, which maps it and posts the pointer records; the status
// timer ticks every 53 reports (0.2 s at 266 reports a second). The first
// strokes warm up (first plug-in work, buffers reaching their size) and are
// not counted.
//
//   penmac_soak [REPORTS]   (default 1000000)
//
// Prints "reports R warm-up W allocations A events E" and exits 1 when A is
// not 0.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "mac/MacFakes.h"
#include "support/AllocationCounter.h"

namespace penmac::test {
namespace {

// Repeating strokes of 200 reports: hovering in, the tip down with rising
// pressure and changing tilt, hovering out; each stroke a little further
// across the tablet than the last.
std::vector<Notification> Strokes(size_t count) {
  std::vector<Notification> out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const size_t stroke = i / 200, k = i % 200;
    TabletReport r;
    r.x = static_cast<uint16_t>(400 + k * 15 + (stroke % 20) * 50);
    r.y = static_cast<uint16_t>(600 + (stroke % 37) * 60 + k * 5);
    r.rawPressure = (k < 20 || k >= 180) ? 1800 : static_cast<uint16_t>(1300 - ((k - 20) % 100) * 3);
    r.tiltB = static_cast<int8_t>(k % 64);         // tilt x
    r.tiltA = static_cast<int8_t>(0xC0 + k % 64);  // tilt y
    out.push_back(DataNotification(r.Bytes()));
  }
  return out;
}

}  // namespace
}  // namespace penmac::test

int main(int argc, char** argv) {
  using namespace penmac::test;
  const long reports = argc > 1 ? std::atol(argv[1]) : 1000000;
  if (reports <= 0) {
    std::fprintf(stderr, "usage: penmac_soak [REPORTS]\n");
    return 2;
  }
  constexpr size_t kWarmUp = 1000;
  // The reports exist before counting starts, as the HID thread's buffers do.
  const std::vector<penmac::Notification> stroke = Strokes(2000);
  DelegateRig rig;
  auto one = [&rig, &stroke](size_t i) {
    penmac::Notification n{penmac::HIDDeviceDataReceived, penmac::DataEntry{}};
    const auto& bytes = std::get<penmac::DataEntry>(stroke[i % stroke.size()].object).data;
    std::get<penmac::DataEntry>(n.object).data = bytes;
    rig.center.Post(std::move(n));
    rig.center.DrainMainQueue();
    if ((i + 1) % 53 == 0) rig.Tick();
  };
  for (size_t i = 0; i < kWarmUp; ++i) one(i);
  long allocations = 0;
  {
    pen::test::AllocationCounter counter;
    for (long i = 0; i < reports; ++i) one(kWarmUp + static_cast<size_t>(i));
    allocations = counter.Count();
  }
  std::printf("reports %ld warm-up %zu allocations %ld events %zu\n", reports, kWarmUp, allocations,
              rig.poster.Total());
  return allocations == 0 ? 0 : 1;
}
