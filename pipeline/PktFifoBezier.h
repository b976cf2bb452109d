#pragma once
#include <atomic>
#include <cstdint>

#include "common/Clock.h"
#include "common/Rounding.h"
#include "pipeline/HostPointer.h"
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
// through pointer emulation, vendor pen packets through the host), and the
// host runs both report handlers under its one report lock, so steps never
// overlap: the filter takes no lock of its own, which would be a second one
// per report. Whoever steps it from more than one thread must serialise the
// steps the same way. Feed returns the outputs of the very step it made. The
// restart request and the smoothing level are single atomic stores from the
// main thread.
class TXYZFifo final : public IHostSmoothing {
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
  void FilterPacket(PenPacket& packet) override;

  // The next Feed restarts from its sample.
  void RequestRestart() override { restart_.store(true, std::memory_order_relaxed); }
  // Recorded only; the filter does not depend on it.
  void SetSmoothing(int32_t level) { smoothing_.store(level, std::memory_order_relaxed); }
  int32_t Smoothing() const { return smoothing_.load(std::memory_order_relaxed); }

 private:
  struct Channel {
    int32_t in[3] = {0, 0, 0};  // x[n-2], x[n-1], x[n]
    // The last two outputs. They take turns as y[n-1] (at `newest_`) so
    // that a step stores one value instead of moving both.
    Extended out[2] = {0, 0};

    void Restart(int32_t v);
    void Shift(int32_t v);
    Extended Step(int newest);
  };

  FilterOutput Outputs(Extended x, Extended y, Extended p) const;

  ITickSource& ticks_;
  // Fields in the filter's own order.
  uint32_t lastSampleTick_;
  std::atomic<int32_t> smoothing_{0};
  Channel x_, y_, p_;
  int newest_ = 1;
  // Armed at creation so that the very first sample passes through unchanged
  // even when it arrives within the same millisecond as the creation.
  std::atomic<bool> restart_{true};
};

}  // namespace pen
