#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "pipeline/MouseInput.h"

namespace pen::test {

// Every synthesised event as a short line, in order, from any thread:
//   "down 17/29" (virtual key / scan code), "up 17/29",
//   "mouse 0008" (flags), "wheel +120".
class RecordingInput : public IInputInjector {
 public:
  void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data, uintptr_t extra) override {
    char line[48];
    const bool still = dx == 0 && dy == 0 && extra == 0;
    if (flags == mouse_flags::kWheel && still) {
      std::snprintf(line, sizeof line, "wheel %+d", static_cast<int>(static_cast<int32_t>(data)));
    } else if (still && data == 0) {
      std::snprintf(line, sizeof line, "mouse %04X", flags);
    } else {
      std::snprintf(line, sizeof line, "mouse %04X %d,%d %u %u", flags, static_cast<int>(dx), static_cast<int>(dy),
                    data, static_cast<unsigned>(extra));
    }
    Add(line);
  }
  void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags, uintptr_t extra) override {
    char line[48];
    std::snprintf(line, sizeof line, "%s %u/%u%s", (flags & key_flags::kKeyUp) ? "up" : "down", vk, scan,
                  (flags & ~key_flags::kKeyUp) || extra ? " odd flags" : "");
    Add(line);
  }
  // Marks a point in the sequence (a sleep, a test step).
  void Note(const std::string& text) { Add(text); }

  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> out;
    out.swap(events_);
    return out;
  }
  size_t Size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_.size();
  }
  bool WaitForSize(size_t n, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return grew_.wait_for(lock, limit, [&] { return events_.size() >= n; });
  }

 private:
  void Add(std::string line) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      events_.push_back(std::move(line));
    }
    grew_.notify_all();
  }
  mutable std::mutex mutex_;
  std::condition_variable grew_;
  std::vector<std::string> events_;
};

}  // namespace pen::test
