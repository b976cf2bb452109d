// penmac's report path, stage by stage: the hand-over from the HID thread,
// the readers, the screen mapping, one pointer record, the Linux
// translation, and one whole report through onData to the recording poster.
// Each reports allocations per report (the pen path must make none).
#include <benchmark/benchmark.h>

#include <array>

#include "mac/EventPosting.h"
#include "mac/MacFakes.h"
#include "mac/linux/LinuxEventPoster.h"
#include "support/AllocationCounter.h"

namespace penmac::test {
namespace {

// A stroke across the tablet: hovering, then the tip down with pressure and
// tilt, then lifted again, 64 reports.
std::array<Notification, 64> Stroke() {
  std::array<Notification, 64> out;
  for (size_t i = 0; i < out.size(); ++i) {
    TabletReport r;
    r.x = static_cast<uint16_t>(200 + i * 57);
    r.y = static_cast<uint16_t>(3000 - i * 31);
    r.rawPressure = (i / 16) % 2 ? 1000 : 1800;
    r.tiltB = 0x20;   // tilt x
    r.tiltA = -0x20;  // tilt y
    out[i] = DataNotification(r.Bytes());
  }
  return out;
}

// Allocations per report, as a counter beside the time.
class Allocations {
 public:
  explicit Allocations(benchmark::State& state) : state_(state) {}
  ~Allocations() {
    state_.counters["allocs/report"] =
        benchmark::Counter(static_cast<double>(counter_.Count()) / static_cast<double>(state_.iterations()));
  }

 private:
  benchmark::State& state_;
  pen::test::AllocationCounter counter_;
};

void BM_HandOverFromTheHidThread(benchmark::State& state) {
  CountingWaker waker;
  NotificationCenter center(waker);
  long seen = 0;
  center.AddObserverOnMainQueue(HIDDeviceDataReceived, [&seen](const Notification&) { ++seen; });
  const auto report = pen::EncodeDigitizerReport({});
  Allocations count(state);
  for (auto _ : state) {
    Notification n{HIDDeviceDataReceived, DataEntry{}};
    std::get<DataEntry>(n.object).data.Assign(report.data(), report.size());
    center.Post(std::move(n));
    center.DrainMainQueue();
  }
  benchmark::DoNotOptimize(seen);
}
BENCHMARK(BM_HandOverFromTheHidThread);

void BM_Readers(benchmark::State& state) {
  DelegateRig rig;
  const auto stroke = Stroke();
  size_t i = 0;
  Allocations count(state);
  for (auto _ : state) {
    rig.delegate.bytes = std::get<DataEntry>(stroke[i++ % stroke.size()].object).data;
    benchmark::DoNotOptimize(rig.delegate.ButtonBits());
    benchmark::DoNotOptimize(rig.delegate.Wheel());
    benchmark::DoNotOptimize(rig.delegate.AbsPoint());
    benchmark::DoNotOptimize(rig.delegate.PressureMap());
    benchmark::DoNotOptimize(rig.delegate.TiltMap());
  }
}
BENCHMARK(BM_Readers);

void BM_ScreenMap(benchmark::State& state) {
  DelegateRig rig;
  const auto stroke = Stroke();
  size_t i = 0;
  Allocations count(state);
  for (auto _ : state) {
    rig.delegate.bytes = std::get<DataEntry>(stroke[i++ % stroke.size()].object).data;
    benchmark::DoNotOptimize(rig.delegate.ScreenMap());
  }
}
BENCHMARK(BM_ScreenMap);

void BM_PointerRecordToRecordingPoster(benchmark::State& state) {
  RecordingPoster poster;
  double x = 0;
  Allocations count(state);
  for (auto _ : state) {
    x = x > 1900 ? 0 : x + 1.5;
    PostPoint(poster, event_type::kLeftMouseDragged, Point{x, 500}, 0, 0.5, Point{0.25, -0.25}, 1);
  }
  benchmark::DoNotOptimize(poster.Total());
}
BENCHMARK(BM_PointerRecordToRecordingPoster);

void BM_LinuxTranslationOfAPointerRecord(benchmark::State& state) {
  struct NullInput : linux_layer::IVirtualInput {
    long n = 0;
    void Emit(linux_layer::VirtualDevice, uint16_t, uint16_t, int32_t) override { ++n; }
    void Sync(linux_layer::VirtualDevice) override { ++n; }
  } input;
  linux_layer::LinuxEventPoster poster(input, linux_layer::PenAxes{Rect{{0, 0}, {1920, 1080}}});
  PostProximity(poster, Point{10, 10}, true);
  double x = 0;
  Allocations count(state);
  for (auto _ : state) {
    x = x > 1900 ? 0 : x + 1.5;
    PostPoint(poster, event_type::kLeftMouseDragged, Point{x, 500}, 0, 0.5, Point{0.25, -0.25}, 1);
  }
  benchmark::DoNotOptimize(input.n);
}
BENCHMARK(BM_LinuxTranslationOfAPointerRecord);

// The whole model for one report, as the main queue delivers it; a timer
// tick every 53 reports (0.2 s at 266 reports per second).
void BM_OnDataPenPath(benchmark::State& state) {
  DelegateRig rig;
  const auto stroke = Stroke();
  size_t i = 0;
  Allocations count(state);
  for (auto _ : state) {
    rig.delegate.onData(stroke[i % stroke.size()]);
    if (++i % 53 == 0) rig.delegate.TimerTick();
  }
  benchmark::DoNotOptimize(rig.poster.Total());
}
BENCHMARK(BM_OnDataPenPath);

}  // namespace
}  // namespace penmac::test
