// From the service's ring write to the packet in a drawing program's
// Wintab queue: the channel client reading the ring under the mutex, the
// context making the packet (scaling, orientation from tilt) and queueing
// it, and the program taking it out in its layout. Everything in memory;
// under Wine the same road adds the processes' messages.
#include <benchmark/benchmark.h>

#include "pipeline/ChannelClient.h"
#include "pipeline/MapFile.h"
#include "support/FakeChannelClient.h"
#include "support/FakeChannelPorts.h"
#include "wintab/WintabInfo.h"
#include "wintab/WintabSession.h"

namespace pen {
namespace {

struct NoWindows : wintab::IWintabWindows {
  void Post(uint64_t, uint32_t, uint64_t, int64_t) override {}
};

constexpr uint32_t kProcess = 100;

struct Road {
  test::FakeSharedBlockObjects objects;
  test::FakeDesktopWindows windows;
  test::FakeChannelTimer timer;
  test::FakePerformanceCounter counter;
  test::CountingBeeps beeper;
  test::RecordedMouse mouse;
  TMapFile map{MapFilePorts{objects, windows, timer, counter, beeper, mouse, 10}};
  test::FakeChannelService service;
  NoWindows posts;
  wintab::TWintabSession session{posts, 8};
  TChannelClient client{objects, service, session, 0x100, kProcess};
  uint64_t ctx = 0;
  uint8_t packet[64]{};

  Road() {
    windows.keepMessages = false;
    windows.AddWindow(0x100, kProcess);
    map.SetArea(AreaRecord{0, 0, 4095, 4095});
    map.HandleChannelMessage(map.MessageA(), 0x100, kProcess);
    service.window = 0x77;
    client.Poll();
    // What a Qt program asks for, flipped to count y from the top.
    wintab::LOGCONTEXTW lc = wintab::TWintabInfo::DefaultContext(true, wintab::Desktop{0, 0, 1920, 1080});
    lc.f.lcOptions |= wintab::CXO_MESSAGES;
    lc.f.lcPktData = wintab::PK_CURSOR | wintab::PK_X | wintab::PK_Y | wintab::PK_BUTTONS |
                     wintab::PK_NORMAL_PRESSURE | wintab::PK_TANGENT_PRESSURE | wintab::PK_ORIENTATION |
                     wintab::PK_Z | wintab::PK_TIME;
    lc.f.lcOutExtX = lc.f.lcInExtX;
    lc.f.lcOutExtY = -lc.f.lcInExtY;
    ctx = session.Open(0x300, lc, true);
    session.Find(ctx)->SetQueueSize(128);
  }
};

// One packet the whole way: written, read, made, queued, taken.
void BM_RingWriteToPacketTaken(benchmark::State& state) {
  Road r;
  PenPacket p;
  p.SetStatus(0xC1);
  p.SetTilt(10, -20);
  uint16_t x = 0;
  wintab::TWintabContext& c = *r.session.Find(r.ctx);
  for (auto _ : state) {
    p.SetX(x += 97);
    p.SetPressure(static_cast<uint16_t>(x & 2047));
    r.map.PublishPacket(p);
    r.client.Drain();
    c.PacketsGet(1, r.packet);
    r.counter.count += 50'000;
  }
  benchmark::DoNotOptimize(r.packet);
  if (c.Queued() != 0) state.SkipWithError("a packet was left behind");
}
BENCHMARK(BM_RingWriteToPacketTaken);

// The client's part alone: the mutex, a batch of eight ring slots read,
// made into packets and queued.
void BM_DrainEightPackets(benchmark::State& state) {
  Road r;
  wintab::TWintabContext& c = *r.session.Find(r.ctx);
  PenPacket p;
  p.SetStatus(0xC1);
  uint16_t x = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < 8; ++i) {
      p.SetX(x += 97);
      r.map.PublishPacket(p);
    }
    c.Flush();
    state.ResumeTiming();
    r.client.Drain();
  }
  state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_DrainEightPackets);

}  // namespace
}  // namespace pen
