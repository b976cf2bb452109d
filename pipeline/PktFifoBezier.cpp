#include "pipeline/PktFifoBezier.h"

#include <algorithm>
#include <limits>
#include <thread>

namespace pen {

namespace {

// Inputs' weights sum to 4/9 and the outputs' to 5/9: a steady input comes
// out unchanged, a step overshoots by about 6 % and settles.
constexpr Extended kB0 = 1.0L / 6;   // x[n-2]
constexpr Extended kB1 = 1.0L / 9;   // x[n-1]
constexpr Extended kB2 = 1.0L / 6;   // x[n]
constexpr Extended kA2 = -1.0L / 3;  // y[n-2]
constexpr Extended kA1 = 8.0L / 9;   // y[n-1]

constexpr Extended kMaxCoordinate = 4095;
constexpr Extended kCoordinateScale = 16;
constexpr uint16_t kMaxPacketCoordinate = 0xFFF0;
constexpr int32_t kMaxPressure = 2047;

int32_t RoundToInt32(Extended v) {
  constexpr Extended lo = std::numeric_limits<int32_t>::min();
  constexpr Extended hi = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(RoundHalfEven(std::clamp(v, lo, hi)));
}

uint16_t PacketCoordinate(Extended v) {
  if (v > kMaxCoordinate) return kMaxPacketCoordinate;
  if (v < 0) return 0;
  return static_cast<uint16_t>(RoundHalfEven(v * kCoordinateScale));
}

uint16_t PacketPressure(Extended v) {
  const int32_t p = RoundToInt32(v);
  return static_cast<uint16_t>(std::clamp(p, 0, kMaxPressure));
}

}  // namespace

// Held for the arithmetic of one call. The two read threads run at the same
// priority, so a waiter spins briefly and then yields its time slice to the
// holder rather than burning it.
class TXYZFifo::SpinGuard {
 public:
  explicit SpinGuard(std::atomic_flag& flag) : flag_(flag) {
    for (int spins = 0; flag_.test_and_set(std::memory_order_acquire); ++spins) {
      if (spins >= 64) std::this_thread::yield();
    }
  }
  ~SpinGuard() { flag_.clear(std::memory_order_release); }
  SpinGuard(const SpinGuard&) = delete;
  SpinGuard& operator=(const SpinGuard&) = delete;

 private:
  std::atomic_flag& flag_;
};

void TXYZFifo::Channel::Restart(int32_t v) {
  in[0] = in[1] = in[2] = v;
  out[0] = out[1] = v;
}

void TXYZFifo::Channel::Shift(int32_t v) {
  in[0] = in[1];
  in[1] = in[2];
  in[2] = v;
}

Extended TXYZFifo::Channel::Step() {
  const Extended y = kB0 * in[0] + kB1 * in[1] + kB2 * in[2] + kA2 * out[0] + kA1 * out[1];
  out[0] = out[1];
  out[1] = y;
  current = y;
  return y;
}

TXYZFifo::TXYZFifo(ITickSource& ticks) : ticks_(ticks), lastSampleTick_(ticks.TickCount() - kPauseMs) {}

FilterOutput TXYZFifo::FeedLocked(int32_t x, int32_t y, int32_t p) {
  const uint32_t now = ticks_.TickCount();
  // Unsigned difference: correct across the tick counter's wrap-around.
  const bool paused = static_cast<uint32_t>(now - lastSampleTick_) > kPauseMs;
  const bool requested = restart_.exchange(false, std::memory_order_relaxed);
  if (paused || requested) {
    x_.Restart(x);
    y_.Restart(y);
    p_.Restart(p);
  } else {
    x_.Shift(x);
    y_.Shift(y);
    p_.Shift(p);
  }
  lastSampleTick_ = now;
  return StepLocked();
}

FilterOutput TXYZFifo::StepLocked() {
  x_.Step();
  y_.Step();
  p_.Step();
  return CurrentLocked();
}

FilterOutput TXYZFifo::CurrentLocked() const {
  FilterOutput o;
  o.x = x_.current;
  o.y = y_.current;
  o.p = p_.current;
  o.roundedX = RoundToInt32(o.x);
  o.roundedY = RoundToInt32(o.y);
  o.roundedP = RoundToInt32(o.p);
  return o;
}

FilterOutput TXYZFifo::Feed(int32_t x, int32_t y, int32_t p) {
  SpinGuard guard(busy_);
  return FeedLocked(x, y, p);
}

FilterOutput TXYZFifo::Step() {
  SpinGuard guard(busy_);
  return StepLocked();
}

FilterOutput TXYZFifo::Current() const {
  SpinGuard guard(busy_);
  return CurrentLocked();
}

void TXYZFifo::ReadRounded(int32_t& x, int32_t& y, int32_t& p) const {
  const FilterOutput o = Current();
  x = o.roundedX;
  y = o.roundedY;
  p = o.roundedP;
}

void TXYZFifo::FilterPacket(PenPacket& packet) {
  FilterOutput o;
  {
    SpinGuard guard(busy_);
    FeedLocked(packet.X(), packet.Y(), packet.Pressure());
    // This path advances the outputs two steps per packet.
    o = StepLocked();
  }
  packet.SetX(PacketCoordinate(o.x));
  packet.SetY(PacketCoordinate(o.y));
  packet.SetPressure(PacketPressure(o.p));
}

}  // namespace pen
