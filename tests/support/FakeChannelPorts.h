#pragma once
#include <cstdint>
#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "common/Beeper.h"
#include "common/WindowTimer.h"
#include "pipeline/DesktopWindows.h"
#include "pipeline/MouseInput.h"
#include "pipeline/PerformanceCounter.h"
#include "pipeline/SharedBlockLayout.h"
#include "pipeline/SharedBlockObjects.h"
#include "pipeline/WinEventSource.h"

namespace pen::test {

// The named mapping and mutex in memory. `bytes` is the block (its size is
// the view's size); `existed` says whether a previous holder made it.
// `heldElsewhere` plays another program that keeps the mutex: every wait runs
// out, and `waits` records how long each caller was prepared to wait.
class FakeSharedBlockObjects : public ISharedBlockObjects {
 public:
  std::vector<uint8_t> bytes = std::vector<uint8_t>(tabshare::kBlockSize, 0);
  bool existed = false;
  bool refuse = false;  // the system refuses mapping, view or mutex
  std::atomic<bool> heldElsewhere{false};
  int opens = 0, closes = 0, locks = 0;
  bool locked = false;
  // Callers of this process now blocked on the in-process lock.
  std::atomic<int> blocked{0};
  // Runs inside Lock, with the mutex held: what a client does meanwhile.
  std::function<void()> onLock;

  bool Open(SharedBlockView& view) override {
    ++opens;
    if (refuse) return false;
    view.bytes = bytes.data();
    view.size = bytes.size();
    view.existed = existed;
    return true;
  }
  bool Lock(uint32_t waitMs) override {
    {
      // Kept without allocating: the allocation checks publish through it.
      std::lock_guard<std::mutex> g(waitsLock_);
      if (waitCount_ < waits_.size()) waits_[waitCount_++] = waitMs;
    }
    if (heldElsewhere) return false;
    if (!mutex_.try_lock()) {
      ++blocked;
      mutex_.lock();
      --blocked;
    }
    ++locks;
    locked = true;
    if (onLock) onLock();
    return true;
  }
  void Unlock() override {
    locked = false;
    mutex_.unlock();
  }
  void Close() override { ++closes; }
  // The first 64 waits since the last ClearWaits.
  std::vector<uint32_t> Waits() {
    std::lock_guard<std::mutex> g(waitsLock_);
    return std::vector<uint32_t>(waits_.begin(), waits_.begin() + static_cast<std::ptrdiff_t>(waitCount_));
  }
  void ClearWaits() {
    std::lock_guard<std::mutex> g(waitsLock_);
    waitCount_ = 0;
  }

 private:
  std::mutex mutex_;
  std::mutex waitsLock_;
  std::array<uint32_t, 64> waits_{};
  size_t waitCount_ = 0;
};

// Windows as a table: which exist, which process owns each, where the cursor
// and the foreground are, and every message sent or posted to them.
class FakeDesktopWindows : public IDesktopWindows {
 public:
  struct Sent {
    bool posted;  // false: sent as a notification
    uintptr_t window;
    uint32_t msg;
    uint64_t wparam;
    int64_t lparam;
    bool operator==(const Sent&) const = default;
  };
  std::map<uintptr_t, uint32_t> owner;  // existing windows and their process
  uintptr_t underCursor = 0;
  uintptr_t foreground = 0;
  uint32_t ownProcess = 4000;
  std::map<std::string, uint32_t> registered;
  bool refuseRegistration = false;
  std::vector<uint32_t> acceptedFromLower;
  std::vector<Sent> sent;
  // Off: messages are only counted (timing and allocation checks).
  bool keepMessages = true;
  std::atomic<uint64_t> notices{0};
  int cursorLookups = 0;
  // Runs at every existence check: lets a test step in halfway through a
  // look-up of the client table.
  std::function<void()> onExists;

  void AddWindow(uintptr_t window, uint32_t process) { owner[window] = process; }
  void CloseWindow(uintptr_t window) { owner.erase(window); }

  uintptr_t WindowUnderCursor() override {
    ++cursorLookups;
    return underCursor;
  }
  uintptr_t ForegroundWindow() override { return foreground; }
  uint32_t ProcessOf(uintptr_t window) override {
    auto it = owner.find(window);
    return it == owner.end() ? 0 : it->second;
  }
  bool Exists(uintptr_t window) override {
    if (onExists) onExists();
    return owner.count(window) != 0;
  }
  uint32_t OwnProcess() override { return ownProcess; }
  uint32_t RegisterMessage(const char* name) override {
    if (refuseRegistration) return 0;
    auto it = registered.find(name);
    if (it != registered.end()) return it->second;
    const uint32_t id = 0xC100 + static_cast<uint32_t>(registered.size());
    registered[name] = id;
    return id;
  }
  void AcceptFromLowerIntegrity(uint32_t msg) override { acceptedFromLower.push_back(msg); }
  void Notify(uintptr_t window, uint32_t msg, uint64_t wparam, int64_t lparam) override {
    ++notices;
    std::lock_guard<std::mutex> g(sentLock_);
    if (keepMessages) sent.push_back({false, window, msg, wparam, lparam});
  }
  void Post(uintptr_t window, uint32_t msg, uint64_t wparam, int64_t lparam) override {
    std::lock_guard<std::mutex> g(sentLock_);
    sent.push_back({true, window, msg, wparam, lparam});
  }
  // Messages to one window, in order.
  std::vector<Sent> To(uintptr_t window) const {
    std::lock_guard<std::mutex> g(sentLock_);
    std::vector<Sent> out;
    for (const Sent& s : sent) {
      if (s.window == window) out.push_back(s);
    }
    return out;
  }

 private:
  mutable std::mutex sentLock_;
};

// Records the period it was last started with; tests call the tick.
class FakeChannelTimer : public IWindowTimer {
 public:
  bool running = false;
  uint32_t period = 0;
  int starts = 0, stops = 0;
  Event<> tick;
  void SetOnTimer(Event<> onTick) override { tick = onTick; }
  void Start(uint32_t ms) override {
    running = true;
    period = ms;
    ++starts;
  }
  void Stop() override {
    running = false;
    ++stops;
  }
  bool Running() const override { return running; }
  void Fire() { tick(); }
};

// A counter at 10 MHz that moves only when told.
class FakePerformanceCounter : public IPerformanceCounter {
 public:
  uint64_t frequency = 10'000'000;
  uint64_t count = 0;
  uint64_t Frequency() override { return frequency; }
  uint64_t Count() override { return count; }
  void AdvanceMs(uint64_t ms) { count += ms * frequency / 1000; }
};

struct CountingBeeps : IBeeper {
  int beeps = 0;
  void Beep() override { ++beeps; }
};

struct RecordedMouse : IMouseInput {
  std::vector<uint32_t> flags;
  void MouseEvent(uint32_t f, int32_t, int32_t, uint32_t, uintptr_t) override { flags.push_back(f); }
};

// The system's window-event hook: tests raise events by hand.
class FakeWinEventSource : public IWinEventSource {
 public:
  bool refuse = false;
  bool installed = false;
  uint32_t first = 0, last = 0;
  Event<uint32_t> handler;
  bool Install(uint32_t firstEvent, uint32_t lastEvent, Event<uint32_t> onEvent) override {
    if (refuse) return false;
    installed = true;
    first = firstEvent;
    last = lastEvent;
    handler = onEvent;
    return true;
  }
  void Remove() override {
    installed = false;
    handler = {};
  }
  void Raise(uint32_t event) {
    if (installed) handler(event);
  }
};

}  // namespace pen::test
