#pragma once
#include <atomic>
#include <thread>
#include <type_traits>

namespace pen {

// A small value that one thread changes now and then and other threads copy
// out, where a copying thread must never wait for the changing one (a HID
// read thread at time-critical priority must not stall behind a main thread
// that the scheduler has set aside).
//
// Two copies: readers copy the front one; the writer changes the back one,
// swaps, waits for the readers still on the old front (they only copy a few
// hundred bytes) and brings it up to date. Readers never wait; the writer
// waits at most for one copy. No allocation anywhere.
template <class T>
class TReadMostly {
  static_assert(std::is_trivially_copyable_v<T>, "copied with plain stores");

 public:
  TReadMostly() = default;
  explicit TReadMostly(const T& initial) : copies_{initial, initial} {}
  TReadMostly(const TReadMostly&) = delete;
  TReadMostly& operator=(const TReadMostly&) = delete;

  // Any thread.
  T Snapshot() const {
    for (;;) {
      const unsigned i = front_.load();
      readers_[i].fetch_add(1);
      // Still the front once announced: the writer will not touch it now
      // until this reader has left. Otherwise the writer swapped meanwhile
      // and may be changing it; take the other one.
      if (front_.load() == i) {
        T copy = copies_[i];
        readers_[i].fetch_sub(1, std::memory_order_release);
        return copy;
      }
      readers_[i].fetch_sub(1, std::memory_order_release);
    }
  }

  // The writer thread only.
  void Set(const T& value) {
    const unsigned old = front_.load(std::memory_order_relaxed);
    const unsigned next = 1 - old;
    WaitUntilLeft(next);
    copies_[next] = value;
    front_.store(next);
    WaitUntilLeft(old);
    copies_[old] = value;
  }

  // The writer thread's own view; no other thread changes it.
  const T& Current() const { return copies_[front_.load(std::memory_order_relaxed)]; }

 private:
  // Sequentially consistent on both sides: the swap and this load against a
  // reader's announcement and its re-check of the front.
  void WaitUntilLeft(unsigned i) const {
    while (readers_[i].load() != 0) std::this_thread::yield();
  }

  T copies_[2]{};
  std::atomic<unsigned> front_{0};
  mutable std::atomic<unsigned> readers_[2]{};
};

}  // namespace pen
