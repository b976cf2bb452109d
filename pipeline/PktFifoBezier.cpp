#include "pipeline/PktFifoBezier.h"

#include <algorithm>
#include <limits>

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

void TXYZFifo::Channel::Restart(int32_t v) {
  in[0] = in[1] = in[2] = v;
  out[0] = out[1] = v;
}

void TXYZFifo::Channel::Shift(int32_t v) {
  in[0] = in[1];
  in[1] = in[2];
  in[2] = v;
}

Extended TXYZFifo::Channel::Step(int newest) {
  const int older = newest ^ 1;
  const Extended y = kB0 * in[0] + kB1 * in[1] + kB2 * in[2] + kA2 * out[older] + kA1 * out[newest];
  out[older] = y;  // y[n-2] is not needed again: this becomes y[n-1]
  return y;
}

TXYZFifo::TXYZFifo(ITickSource& ticks) : ticks_(ticks), lastSampleTick_(ticks.TickCount() - kPauseMs) {}

FilterOutput TXYZFifo::Outputs(Extended x, Extended y, Extended p) const {
  FilterOutput o;
  o.x = x;
  o.y = y;
  o.p = p;
  o.roundedX = RoundToInt32(x);
  o.roundedY = RoundToInt32(y);
  o.roundedP = RoundToInt32(p);
  return o;
}

FilterOutput TXYZFifo::Feed(int32_t x, int32_t y, int32_t p) {
  const uint32_t now = ticks_.TickCount();
  // Unsigned difference: correct across the tick counter's wrap-around.
  const bool paused = static_cast<uint32_t>(now - lastSampleTick_) > kPauseMs;
  // Read before it is cleared: a read costs nothing, the exchange a locked
  // instruction, and a restart is seldom asked for.
  const bool requested = restart_.load(std::memory_order_relaxed) && restart_.exchange(false, std::memory_order_relaxed);
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
  return Step();
}

FilterOutput TXYZFifo::Step() {
  const int newest = newest_;
  newest_ = newest ^ 1;
  const Extended x = x_.Step(newest);
  const Extended y = y_.Step(newest);
  const Extended p = p_.Step(newest);
  return Outputs(x, y, p);
}

FilterOutput TXYZFifo::Current() const { return Outputs(x_.out[newest_], y_.out[newest_], p_.out[newest_]); }

void TXYZFifo::ReadRounded(int32_t& x, int32_t& y, int32_t& p) const {
  const FilterOutput o = Current();
  x = o.roundedX;
  y = o.roundedY;
  p = o.roundedP;
}

void TXYZFifo::FilterPacket(PenPacket& packet) {
  Feed(packet.X(), packet.Y(), packet.Pressure());
  // This path advances the outputs two steps per packet.
  const FilterOutput o = Step();
  packet.SetX(PacketCoordinate(o.x));
  packet.SetY(PacketCoordinate(o.y));
  packet.SetPressure(PacketPressure(o.p));
}

}  // namespace pen
