#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace pen {

// Messages that reach the main window before the host is attached to it
// (a drawing program registering the moment the window can be found, a
// wheel message), kept in arrival order and handed over once it is. The
// objects made before the host let messages run (the device link's start
// waits with messages flowing); without this, default processing would
// swallow them.
//
// Fixed room, no allocation: what does not fit is counted and dropped.
class THeldMessages {
 public:
  static constexpr size_t kCapacity = 64;  // a whole client table at once
  struct Message {
    uint32_t msg = 0;
    uint64_t wparam = 0;
    int64_t lparam = 0;
  };

  // Keeps `msg` when it is one of the watched ones; says whether it did
  // (also when it had to be dropped for want of room).
  bool Hold(uint32_t msg, uint64_t wparam, int64_t lparam) {
    if (handedOver_ || !Watched(msg)) return false;
    if (count_ < kCapacity) {
      held_[count_++] = {msg, wparam, lparam};
    } else {
      ++dropped_;
    }
    return true;
  }

  // Which messages are held; 0 (a registration the system refused) never.
  void Watch(uint32_t msg) {
    if (msg != 0 && watchedCount_ < watched_.size()) watched_[watchedCount_++] = msg;
  }

  // Hands every held message to `take`, oldest first; from now on nothing
  // is held any more.
  template <class Take>
  void HandOver(Take&& take) {
    handedOver_ = true;
    for (size_t i = 0; i < count_; ++i) take(held_[i]);
    count_ = 0;
  }

  size_t Count() const { return count_; }
  uint32_t Dropped() const { return dropped_; }

 private:
  bool Watched(uint32_t msg) const {
    for (size_t i = 0; i < watchedCount_; ++i) {
      if (watched_[i] == msg) return true;
    }
    return false;
  }

  std::array<uint32_t, 4> watched_{};
  size_t watchedCount_ = 0;
  std::array<Message, kCapacity> held_{};
  size_t count_ = 0;
  uint32_t dropped_ = 0;
  bool handedOver_ = false;
};

}  // namespace pen
