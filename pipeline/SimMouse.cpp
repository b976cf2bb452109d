#include "pipeline/SimMouse.h"

#include <algorithm>
#include <limits>

#include "pipeline/ReportFormat.h"

namespace pen {

namespace {

constexpr int32_t kMaxLogical = 4095;
constexpr Extended kLogicalSpan = 4095;
constexpr Extended kAbsoluteSpan = 65535;
constexpr Extended kPacketScale = 16;
constexpr uint16_t kMaxPacketCoordinate = 0xFFF0;
constexpr int32_t kMaxPressure = 2047;
constexpr Extended kPressureGain = 5;
constexpr int32_t kMaxSmoothing = 3;

int8_t Negate(int8_t v) {
  // Two's complement on the byte: -128 stays -128, as the wire byte would.
  return static_cast<int8_t>(static_cast<uint8_t>(0u - static_cast<uint8_t>(v)));
}

Extended ClampAbsolute(Extended v) { return std::clamp<Extended>(v, 0, kAbsoluteSpan); }

// A zero-sized area or monitor would divide by zero; it counts as one unit,
// which keeps the mapping's direction and lets the clamps do the rest.
Extended Divisor(int32_t size) { return size > 0 ? static_cast<Extended>(size) : 1; }

// Tablet units relative to the tablet area, scaled back to 0..4095.
Extended ToAreaUnits(Extended v, uint16_t origin, uint16_t size) {
  return ClampAbsolute((v - origin) * kLogicalSpan / Divisor(size));
}

uint16_t PacketCoordinate(Extended v) {
  if (v < 0) return 0;
  if (v > kLogicalSpan) return kMaxPacketCoordinate;
  return static_cast<uint16_t>(RoundHalfEven(v * kPacketScale));
}

int32_t RoundClamped(Extended v) {
  constexpr Extended lo = std::numeric_limits<int32_t>::min();
  constexpr Extended hi = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(RoundHalfEven(std::clamp(v, lo, hi)));
}

// Area position (0..4095) -> virtual screen units -> pixel -> the absolute
// units of the pointer call, which are relative to the primary monitor.
int32_t ToAbsolute(Extended v, uint16_t screenOrigin, uint16_t screenSize, int32_t virtualOrigin,
                   int32_t virtualSize, int32_t primarySize) {
  const Extended s = screenSize * v / kLogicalSpan + screenOrigin;
  const Extended pixel = virtualSize * s / kLogicalSpan + virtualOrigin;
  return RoundClamped(pixel * kAbsoluteSpan / Divisor(primarySize));
}

}  // namespace

TSimMouse::TSimMouse(TXYZFifo& fifo, IMouseInput& mouse, IDisplayInfo& display)
    : fifo_(fifo), mouse_(mouse), display_(display) {
  RefreshScreenGeometry();
  cachedGeometry_ = Geometry();
}

void TSimMouse::SetSmoothing(int32_t level) {
  if (level < 0 || level > kMaxSmoothing) level = 0;
  smoothing_.store(level, std::memory_order_relaxed);
  fifo_.SetSmoothing(level);
}

void TSimMouse::RefreshScreenGeometry() {
  const DisplayGeometry g = display_.Read();
  // One writer (the main thread); readers check the count instead of waiting.
  const uint32_t seq = geometrySeq_.load(std::memory_order_relaxed);
  geometrySeq_.store(seq + 1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  primaryWidth_.store(g.primaryWidth, std::memory_order_relaxed);
  primaryHeight_.store(g.primaryHeight, std::memory_order_relaxed);
  virtualLeft_.store(g.virtualLeft, std::memory_order_relaxed);
  virtualTop_.store(g.virtualTop, std::memory_order_relaxed);
  virtualWidth_.store(g.virtualWidth, std::memory_order_relaxed);
  virtualHeight_.store(g.virtualHeight, std::memory_order_relaxed);
  geometrySeq_.store(seq + 2, std::memory_order_release);
}

bool TSimMouse::ReadGeometry(DisplayGeometry& g) const {
  const uint32_t before = geometrySeq_.load(std::memory_order_acquire);
  if (before & 1u) return false;
  g.primaryWidth = primaryWidth_.load(std::memory_order_relaxed);
  g.primaryHeight = primaryHeight_.load(std::memory_order_relaxed);
  g.virtualLeft = virtualLeft_.load(std::memory_order_relaxed);
  g.virtualTop = virtualTop_.load(std::memory_order_relaxed);
  g.virtualWidth = virtualWidth_.load(std::memory_order_relaxed);
  g.virtualHeight = virtualHeight_.load(std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_acquire);
  return geometrySeq_.load(std::memory_order_relaxed) == before;
}

DisplayGeometry TSimMouse::Geometry() const {
  DisplayGeometry g;
  while (!ReadGeometry(g)) {
  }
  return g;
}

bool TSimMouse::ProcessReport(const uint8_t* data, size_t length) {
  DigitizerReport r;
  if (!DecodeDigitizerReport(data, length, r)) return false;

  // Decoding.
  tiltA_ = r.tiltA;
  tiltB_ = r.tiltB;
  wheelStep_ = r.wheelStep;
  mask_ = r.KeyMask();
  noPosition_ = r.noPosition;
  const bool overStrip = r.OverStrip();

  // Smoothing; over the strip the filter sees Y = 0.
  const FilterOutput f = fifo_.Feed(r.x, overStrip ? 0 : r.y, r.rawPressure);
  x_ = f.roundedX;
  y_ = overStrip ? r.y : f.roundedY;
  p_ = f.roundedP;
  xs_ = f.x;
  ys_ = f.y;
  ps_ = f.p;
  const int32_t unmirroredX = x_;

  const bool left = leftHand_.load(std::memory_order_relaxed);
  if (left) {
    x_ = kMaxLogical - x_;
    xs_ = kLogicalSpan - xs_;
    tiltA_ = Negate(tiltA_);
    tiltB_ = Negate(tiltB_);
  }

  const AreaRecord tablet = UnpackArea(tabletArea_.load(std::memory_order_relaxed));
  lastX_ = x_;
  xs_ = ToAreaUnits(xs_, tablet.Left, tablet.Width);
  if (!overStrip) {
    if (left) {
      y_ = kMaxLogical - y_;
      ys_ = kLogicalSpan - ys_;
    }
    lastY_ = y_;
    ys_ = ToAreaUnits(ys_, tablet.Top, tablet.Height);
  }

  // Tip and pressure: the raw value falls as the tip is pressed harder.
  const int32_t threshold = threshold_.load(std::memory_order_relaxed);
  if (p_ < threshold) {
    mask_ |= overStrip ? SoftKeyBit(unmirroredX) : mask_bits::kTip;
    const Extended pressure = (static_cast<Extended>(threshold) - ps_) * kPressureGain;
    p_ = std::clamp(RoundClamped(pressure), 0, kMaxPressure);
  } else {
    p_ = 0;
  }

  // The internal packet.
  packet_.SetStatus(static_cast<uint8_t>(PenPacket::kStatusInRange + (mask_ & 3u)));
  packet_.SetX(PacketCoordinate(xs_));
  if (overStrip) {
    packet_.SetY(0);
    lastY_ = 0;
  } else {
    packet_.SetY(PacketCoordinate(ys_));
  }
  packet_.SetPressure(static_cast<uint16_t>(p_));
  if (!tiltEnabled_.load(std::memory_order_relaxed)) {
    tiltA_ = 0;
    tiltB_ = 0;
  }
  packet_.SetTilt(tiltA_, tiltB_);

  // Pointer output; a report without a usable position leaves the click
  // state alone.
  if (noPosition_) return true;
  const uint32_t buttons = ClickDecision();
  previousMask_ = mask_;
  SendPointer(buttons, overStrip);
  return true;
}

uint32_t TSimMouse::ClickDecision() {
  if (reportsSinceRelease_ < kReleaseCountCap) ++reportsSinceRelease_;
  const bool tip = (mask_ & mask_bits::kTip) != 0;
  const bool tipBefore = (previousMask_ & mask_bits::kTip) != 0;
  if (tip && !tipBefore) {
    // A press right after a release near the edge of the tablet is most
    // likely the pen bouncing as it leaves or enters; ignore it entirely.
    const bool awayFromEdges = lastX_ > kEdgeLow && lastX_ < kEdgeHigh && lastY_ > kEdgeLow && lastY_ < kEdgeHigh;
    if (reportsSinceRelease_ > kClickFilterReports || awayFromEdges) {
      downSent_ = true;
      return mouse_flags::kLeftDown;
    }
    return 0;
  }
  if (!tip && tipBefore) {
    const uint32_t buttons = downSent_ ? mouse_flags::kLeftUp : 0;
    reportsSinceRelease_ = 0;
    downSent_ = false;
    return buttons;
  }
  return 0;
}

void TSimMouse::SendPointer(uint32_t buttons, bool overStrip) {
  constexpr uint32_t kFlags = mouse_flags::kMove | mouse_flags::kAbsolute;
  if (overStrip) {
    // The pointer never moves over the strip, but a release that happens
    // there must still reach the system, or its left button stays down.
    if (buttons != 0) mouse_.MouseEvent(kFlags | buttons, lastSentX_, lastSentY_, 0, 0);
    return;
  }
  DisplayGeometry g;
  if (ReadGeometry(g)) {
    cachedGeometry_ = g;
  } else {
    g = cachedGeometry_;  // a refresh is under way; the previous one will do
  }
  const AreaRecord screen = UnpackArea(screenArea_.load(std::memory_order_relaxed));
  const int32_t ix = ToAbsolute(xs_, screen.Left, screen.Width, g.virtualLeft, g.virtualWidth, g.primaryWidth);
  const int32_t iy = ToAbsolute(ys_, screen.Top, screen.Height, g.virtualTop, g.virtualHeight, g.primaryHeight);
  if (ix != lastSentX_ || iy != lastSentY_ || buttons != 0) mouse_.MouseEvent(kFlags | buttons, ix, iy, 0, 0);
  lastSentX_ = ix;
  lastSentY_ = iy;
}

}  // namespace pen
