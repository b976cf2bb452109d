#pragma once
#include <cstdint>
#include <functional>

#include "common/Clock.h"

namespace pen::test {

// Time moves only when the code under test waits, so 300 ms pacing and 10 s
// waits run in microseconds. `onProcessMessages` stands for the message loop
// inside a wait (posted commands that run there).
class FakeClock : public IClock {
 public:
  uint32_t now = 100000;
  uint32_t slept = 0;
  uint32_t pumped = 0;
  std::function<void()> onProcessMessages;

  uint32_t TickCount() override { return now; }
  void Sleep(uint32_t ms) override {
    now += ms;
    slept += ms;
  }
  void ProcessMessagesFor(uint32_t ms) override {
    if (onProcessMessages) onProcessMessages();
    now += ms;
    pumped += ms;
  }
  void Advance(uint32_t ms) { now += ms; }
};

}  // namespace pen::test
