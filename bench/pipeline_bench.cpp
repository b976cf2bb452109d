// Per-stage cost of one pen report: decode, decode + smoothing, the whole
// pointer emulation, the same with publishing to the shared channel, and the
// vendor packet path.
#include <benchmark/benchmark.h>

#include <array>

#include "pipeline/MapFile.h"
#include "pipeline/PktFifoBezier.h"
#include "pipeline/ReportEncoder.h"
#include "pipeline/ReportFormat.h"
#include "pipeline/SimMouse.h"
#include "support/FakeChannelPorts.h"

namespace pen {
namespace {

// 5 ms per sample, as the tablet sends them.
class SteppingTicks : public ITickSource {
 public:
  uint32_t TickCount() override { return now_ += 5; }

 private:
  uint32_t now_ = 0;
};

// Keeps the last call only: recording must not cost more than the injector.
class LastCallMouse : public IMouseInput {
 public:
  uint32_t flags = 0;
  int32_t dx = 0, dy = 0;
  void MouseEvent(uint32_t f, int32_t x, int32_t y, uint32_t, uintptr_t) override {
    flags = f;
    dx = x;
    dy = y;
  }
};

class OneMonitor : public IDisplayInfo {
 public:
  DisplayGeometry Read() override { return {1920, 1080, 0, 0, 1920, 1080}; }
};

// A stroke across the tablet with the tip going down and up.
std::array<std::array<uint8_t, kDigitizerReportSize>, 64> DigitizerStroke() {
  std::array<std::array<uint8_t, kDigitizerReportSize>, 64> reports{};
  for (size_t i = 0; i < reports.size(); ++i) {
    DigitizerSample s;
    s.x = static_cast<uint16_t>(200 + i * 57);
    s.y = static_cast<uint16_t>(3000 - i * 31);
    s.rawPressure = (i / 16) % 2 ? 900 : 1800;
    s.tiltA = -6;
    s.tiltB = 3;
    reports[i] = WithoutReportId(EncodeDigitizerReport(s));
  }
  return reports;
}

std::array<std::array<uint8_t, kVendorPenPacketSize>, 64> VendorStroke() {
  std::array<std::array<uint8_t, kVendorPenPacketSize>, 64> packets{};
  for (size_t i = 0; i < packets.size(); ++i) {
    const uint16_t x = static_cast<uint16_t>(200 + i * 57);
    const uint16_t y = static_cast<uint16_t>(3000 - i * 31);
    const uint16_t p = static_cast<uint16_t>((i * 97) % 2048);
    packets[i] = WithoutReportId(EncodeVendorPenPacket(0xC1, x, y, p, 3, 250));
  }
  return packets;
}

void BM_DigitizerDecode(benchmark::State& state) {
  const auto reports = DigitizerStroke();
  size_t i = 0;
  for (auto _ : state) {
    const auto& r = reports[i++ % reports.size()];
    DigitizerReport out;
    benchmark::DoNotOptimize(DecodeDigitizerReport(r.data(), r.size(), out));
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_DigitizerDecode);

void BM_DigitizerDecodeAndFilterStep(benchmark::State& state) {
  const auto reports = DigitizerStroke();
  SteppingTicks ticks;
  TXYZFifo fifo(ticks);
  size_t i = 0;
  for (auto _ : state) {
    const auto& r = reports[i++ % reports.size()];
    DigitizerReport out;
    DecodeDigitizerReport(r.data(), r.size(), out);
    benchmark::DoNotOptimize(fifo.Feed(out.x, out.OverStrip() ? 0 : out.y, out.rawPressure));
  }
}
BENCHMARK(BM_DigitizerDecodeAndFilterStep);

// Pointer emulation over the whole tablet and screen, tilt on.
struct Pointer {
  SteppingTicks ticks;
  TXYZFifo fifo{ticks};
  LastCallMouse mouse;
  OneMonitor display;
  TSimMouse sim{fifo, mouse, display};
  Pointer() {
    sim.SetArea({0, 0, 4095, 4095});
    sim.SetTiltEnabled(true);
  }
};

void BM_SimMouseProcessReport(benchmark::State& state) {
  const auto reports = DigitizerStroke();
  Pointer pointer;
  size_t i = 0;
  for (auto _ : state) {
    const auto& r = reports[i++ % reports.size()];
    benchmark::DoNotOptimize(pointer.sim.ProcessReport(r.data(), r.size()));
  }
  benchmark::DoNotOptimize(pointer.mouse.dx);
}
BENCHMARK(BM_SimMouseProcessReport);

// The whole report path up to the drawing programs: decode, smoothing,
// mapping, pointer, packet, then publishing into the shared block (no client
// registered; the notice itself is timed with the ring write).
void BM_ReportPathWithPublish(benchmark::State& state) {
  const auto reports = DigitizerStroke();
  Pointer pointer;
  test::FakeSharedBlockObjects objects;
  test::FakeDesktopWindows windows;
  test::FakeChannelTimer timer;
  test::FakePerformanceCounter counter;
  test::CountingBeeps beeper;
  TMapFile channel(MapFilePorts{objects, windows, timer, counter, beeper, pointer.mouse, 10});
  channel.SetArea({0, 0, 4095, 4095});
  size_t i = 0;
  for (auto _ : state) {
    const auto& r = reports[i++ % reports.size()];
    pointer.sim.ProcessReport(r.data(), r.size());
    channel.PublishPacket(pointer.sim.Packet());
    counter.count += 50'000;
  }
  benchmark::DoNotOptimize(objects.bytes.data());
}
BENCHMARK(BM_ReportPathWithPublish);

void BM_VendorDecodeAndFilterPacket(benchmark::State& state) {
  const auto packets = VendorStroke();
  SteppingTicks ticks;
  TXYZFifo fifo(ticks);
  size_t i = 0;
  for (auto _ : state) {
    const auto& d = packets[i++ % packets.size()];
    PenPacket packet;
    if (ReadVendorPenPacket(d.data(), d.size(), packet)) fifo.FilterPacket(packet);
    benchmark::DoNotOptimize(packet);
  }
}
BENCHMARK(BM_VendorDecodeAndFilterPacket);

}  // namespace
}  // namespace pen
