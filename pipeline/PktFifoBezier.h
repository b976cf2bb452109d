#pragma once
#include <atomic>
#include <cstdint>

#include "common/Clock.h"
#include "common/Rounding.h"
#include "pipeline/PenPacket.h"

namespace pen {

// One filter step's outputs, unrounded and rounded (to nearest, ties to even).
struct FilterOutput {
  Extended x = 0;
  Extended y = 0;
  Extended p = 0;
  int32_t roundedX = 0;
  int32_t roundedY = 0;
  int32_t roundedP = 0;
};

// Smooths pen X, Y and pressure with a small recursive filter over the last
// three samples and the last two outputs of each channel:
//   out = (x[n-2] + x[n])/6 + x[n-1]/9 - y[n-2]/3 + 8*y[n-1]/9
// It restarts from the current sample after more than 500 ms without one, or
// when the host asks (RequestRestart).
//
// Threads: both HID read threads step the one instance (digitizer reports
// through pointer emulation, vendor pen packets through the host). Each call
// that touches the filter state holds a tiny spin lock for the arithmetic of
// that one call only (tens of nanoseconds, no allocation, no system call), so
// a reader never waits longer than the other reader's step. Feed returns the
// outputs of the very step it made, so a caller never reads outputs that the
// other thread has already stepped further. The restart request and the
// smoothing level are single atomic stores from the main thread.
class TXYZFifo {
 public:
  static constexpr uint32_t kPauseMs = 500;

  explicit TXYZFifo(ITickSource& ticks);
  TXYZFifo(const TXYZFifo&) = delete;
  TXYZFifo& operator=(const TXYZFifo&) = delete;

  // Adds a sample (restarting or shifting the inputs), then one Step.
  FilterOutput Feed(int32_t x, int32_t y, int32_t p);
  // One more step on the stored inputs and outputs.
  FilterOutput Step();
  // The outputs of the last step.
  void ReadRounded(int32_t& x, int32_t& y, int32_t& p) const;
  FilterOutput Current() const;

  // Interface A: smooths X, Y (bytes 1..4, scaled to 0..0xFFF0) and pressure
  // (bytes 5..6, 0..2047) of a pen packet in place, two steps per packet.
  // Bytes 0, 7 and 8 are untouched.
  void FilterPacket(PenPacket& packet);

  // The next Feed restarts from its sample.
  void RequestRestart() { restart_.store(true, std::memory_order_relaxed); }
  // Recorded only; the filter does not depend on it.
  void SetSmoothing(int32_t level) { smoothing_.store(level, std::memory_order_relaxed); }
  int32_t Smoothing() const { return smoothing_.load(std::memory_order_relaxed); }

 private:
  struct Channel {
    int32_t in[3] = {0, 0, 0};  // x[n-2], x[n-1], x[n]
    Extended out[2] = {0, 0};   // y[n-2], y[n-1]
    Extended current = 0;

    void Restart(int32_t v);
    void Shift(int32_t v);
    Extended Step();
  };

  class SpinGuard;

  FilterOutput FeedLocked(int32_t x, int32_t y, int32_t p);
  FilterOutput StepLocked();
  FilterOutput CurrentLocked() const;

  ITickSource& ticks_;
  // Fields in the filter's own order.
  uint32_t lastSampleTick_;
  std::atomic<int32_t> smoothing_{0};
  Channel x_, y_, p_;
  // Armed at creation so that the very first sample passes through unchanged
  // even when it arrives within the same millisecond as the creation.
  std::atomic<bool> restart_{true};
  mutable std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
};

}  // namespace pen
