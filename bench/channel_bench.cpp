// The shared channel's ring write: the block's mutex, one 18-byte slot, the
// indices and the notification decision, on a block in memory.
#include <benchmark/benchmark.h>

#include "pipeline/MapFile.h"
#include "support/FakeChannelPorts.h"

namespace pen {
namespace {

struct Channel {
  test::FakeSharedBlockObjects objects;
  test::FakeDesktopWindows windows;
  test::FakeChannelTimer timer;
  test::FakePerformanceCounter counter;
  test::CountingBeeps beeper;
  test::RecordedMouse mouse;
  TMapFile map{MapFilePorts{objects, windows, timer, counter, beeper, mouse, 10}};
  Channel() {
    windows.keepMessages = false;  // recording them would cost more than sending
    windows.AddWindow(0x100, 100);
    map.SetArea(AreaRecord{0, 0, 4095, 4095});
    map.HandleChannelMessage(map.MessageA(), 0x100, 100);
  }
};

// Nobody reads: once the ring is full every packet wakes the client, the
// most a write ever does.
void BM_RingWriteClientNotReading(benchmark::State& state) {
  Channel c;
  PenPacket p;
  p.SetStatus(0xC0);
  uint16_t x = 0;
  for (auto _ : state) {
    p.SetX(x += 97);
    c.map.PublishPacket(p);
    c.counter.count += 50'000;  // 5 ms per report
  }
  benchmark::DoNotOptimize(c.windows.notices.load());
}
BENCHMARK(BM_RingWriteClientNotReading);

// No client for the process in front: the write ends with the decision
// against a notice.
void BM_RingWriteNoClient(benchmark::State& state) {
  Channel c;
  c.map.SelectForegroundClient(0, 0);
  PenPacket p;
  p.SetStatus(0xC0);
  for (auto _ : state) {
    c.map.PublishPacket(p);
    c.counter.count += 50'000;
  }
  benchmark::DoNotOptimize(c.objects.bytes.data());
}
BENCHMARK(BM_RingWriteNoClient);

}  // namespace
}  // namespace pen
