#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/WindowTimer.h"
#include "support/FakeClock.h"

namespace pen::test {

class FakeTimerQueue;

// A window timer on the fake clock; it ticks only inside FakeTimerQueue::Run.
class FakeTimer : public IWindowTimer {
 public:
  explicit FakeTimer(FakeTimerQueue& queue);
  ~FakeTimer() override;
  void SetOnTimer(Event<> handler) override { onTimer = handler; }
  void Start(uint32_t intervalMs) override;
  void Stop() override {
    running = false;
    ++stops;
  }
  bool Running() const override { return running; }

  Event<> onTimer;
  bool running = false;
  uint32_t interval = 0;
  uint64_t due = 0;  // in the queue's time
  int starts = 0, stops = 0;

 private:
  FakeTimerQueue& queue_;
};

// Moves the fake clock forward and fires the timers that fall due, in time
// order, each at its own moment, as the main thread's message loop would.
class FakeTimerQueue {
 public:
  explicit FakeTimerQueue(FakeClock& clock) : clock_(clock) {}

  uint64_t Now() const { return elapsed_; }

  // Runs `ms` of time; ticks may start and stop timers (and wait on the clock).
  void Run(uint32_t ms) {
    const uint64_t end = elapsed_ + ms;
    for (;;) {
      FakeTimer* next = nullptr;
      for (FakeTimer* t : timers_) {
        if (t->running && t->due <= end && (!next || t->due < next->due)) next = t;
      }
      if (!next) break;
      Advance(next->due);
      next->due = elapsed_ + next->interval;
      next->onTimer();
    }
    Advance(end);
  }

  void Add(FakeTimer* t) { timers_.push_back(t); }
  void Remove(FakeTimer* t) { timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end()); }

 private:
  friend class FakeTimer;
  // The clock may have moved by itself (a Sleep inside a tick).
  void Sync() {
    elapsed_ += static_cast<uint32_t>(clock_.now - last_);
    last_ = clock_.now;
  }
  void Advance(uint64_t to) {
    Sync();
    if (to > elapsed_) {
      clock_.Advance(static_cast<uint32_t>(to - elapsed_));
      elapsed_ = to;
    }
    last_ = clock_.now;
  }

  FakeClock& clock_;
  uint32_t last_ = clock_.now;
  uint64_t elapsed_ = 0;
  std::vector<FakeTimer*> timers_;
};

inline FakeTimer::FakeTimer(FakeTimerQueue& queue) : queue_(queue) { queue_.Add(this); }
inline FakeTimer::~FakeTimer() { queue_.Remove(this); }
inline void FakeTimer::Start(uint32_t intervalMs) {
  queue_.Sync();
  running = true;
  interval = intervalMs;
  due = queue_.Now() + intervalMs;
  ++starts;
}

}  // namespace pen::test
