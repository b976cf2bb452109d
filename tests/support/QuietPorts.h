#pragma once
#include <atomic>
#include <cstdint>

#include "common/Clock.h"
#include "common/WindowTimer.h"
#include "keys/VolControl.h"
#include "pipeline/MouseInput.h"

namespace pen::test {

// Ports that only count or do nothing, and allocate nothing: for the
// allocation tests, the benchmarks, the fuzzers and threaded tests.

class CountingInput : public IInputInjector {
 public:
  std::atomic<long> events{0};
  void MouseEvent(uint32_t, int32_t, int32_t, uint32_t, uintptr_t) override { ++events; }
  void KeybdEvent(uint8_t, uint8_t, uint32_t, uintptr_t) override { ++events; }
};

// Ticks only when the test calls Tick; safe from any thread.
class ManualTimer : public IWindowTimer {
 public:
  void SetOnTimer(Event<> handler) override { onTimer_ = handler; }
  void Start(uint32_t) override { running_ = true; }
  void Stop() override { running_ = false; }
  bool Running() const override { return running_; }
  void Tick() { onTimer_(); }

 private:
  Event<> onTimer_;
  std::atomic<bool> running_{false};
};

class SilentVolume : public IVolumeControl {
 public:
  void VolumeUp() override {}
  void VolumeDown() override {}
  void ToggleMute() override {}
};

class NoWaitClock : public IClock {
 public:
  uint32_t TickCount() override { return 0; }
  void Sleep(uint32_t) override {}
  void ProcessMessagesFor(uint32_t) override {}
};

}  // namespace pen::test
