// A tablet key report through the button manager to the input injector:
// time and heap allocations per report, for the manager alone and for a
// key packet through the host's interface-A handler.
#include <benchmark/benchmark.h>

#include <array>

#include "support/AllocationCounter.h"
#include "support/HostRig.h"
#include "support/QuietButtons.h"

namespace pen {
namespace {

using test::AllocationCounter;

// Keeps the last 64 events in a fixed ring, as a recording without the cost
// of growing a list.
class RingInput : public IInputInjector {
 public:
  void MouseEvent(uint32_t flags, int32_t, int32_t, uint32_t data, uintptr_t) override { Add(flags ^ data); }
  void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags, uintptr_t) override { Add(vk << 16 | scan << 8 | flags); }
  std::array<uint32_t, 64> ring{};
  size_t next = 0;

 private:
  void Add(uint32_t e) { ring[next++ % ring.size()] = e; }
};

struct Rig : test::QuietButtons<RingInput> {
  Rig() { Connect("R711"); }
};

void ReportAllocations(benchmark::State& state, const AllocationCounter& counter) {
  state.counters["allocs_per_report"] =
      benchmark::Counter(static_cast<double>(counter.Count()), benchmark::Counter::kAvgIterations);
}

// Key 8 of an R711 (Ctrl + minus) pressed and released: every report is a
// state change with two key events.
void BM_ButtonManagerKeyReport(benchmark::State& state) {
  Rig rig;
  const uint32_t down = 1u << (3 + 7);
  uint32_t i = 0;
  AllocationCounter counter;
  for (auto _ : state) rig.buttons.SetButtonState(++i & 1 ? down : 0);
  ReportAllocations(state, counter);
  benchmark::DoNotOptimize(rig.input.ring);
}
BENCHMARK(BM_ButtonManagerKeyReport);

// The same key as an interface A key packet through the host.
void BM_HostKeyPacketToInput(benchmark::State& state) {
  Rig rig;
  test::HostRig<test::FakeClock> fakes;
  TPenHostMain host(fakes.Parts({.buttons = &rig.buttons, .window = nullptr}));
  const uint8_t down[9] = {0x80, 0xFF, 0, 0x80, 0};  // key 8
  const uint8_t up[9] = {0x80, 0xFF, 0, 0, 0};
  uint32_t i = 0;
  AllocationCounter counter;
  for (auto _ : state) host.OnPenPacket(++i & 1 ? down : up, 9);
  ReportAllocations(state, counter);
  benchmark::DoNotOptimize(rig.input.ring);
}
BENCHMARK(BM_HostKeyPacketToInput);

}  // namespace
}  // namespace pen
