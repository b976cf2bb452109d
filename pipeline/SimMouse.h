#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "common/Rounding.h"
#include "pipeline/AreaRecord.h"
#include "pipeline/DisplayGeometry.h"
#include "pipeline/HostPointer.h"
#include "pipeline/MouseInput.h"
#include "pipeline/PenPacket.h"
#include "pipeline/PktFifoBezier.h"

namespace pen {

// Turns each digitizer report into system mouse input: smooths position and
// pressure, mirrors for left-handed use, maps the tablet area onto the screen
// area, presses and releases the left button by a pressure threshold and moves
// the pointer with absolute coordinates. As by-products it leaves the button
// state mask, the wheel step, the pressure, the tilt bytes and the internal
// pen packet for the host to hand on.
//
// ProcessReport runs on interface B's read thread; the setters run on the
// main thread. Each setter stores one value or one area as a single atomic
// store, and the monitor geometry is published under a sequence count, so a
// report never sees half of an area or half of a geometry and never waits.
class TSimMouse final : public IHostPointer {
 public:
  static constexpr int32_t kDefaultThreshold = 1450;
  static constexpr int32_t kReleaseCountCap = 10000;
  static constexpr int32_t kClickFilterReports = 5;
  static constexpr int32_t kEdgeLow = 200;
  static constexpr int32_t kEdgeHigh = 3895;

  TSimMouse(TXYZFifo& fifo, IMouseInput& mouse, IDisplayInfo& display);

  // The host passes the device's pressure value (-255..255) + 1450.
  void SetThreshold(int32_t value) override { threshold_.store(value, std::memory_order_relaxed); }
  // A level above 3 becomes 0; also handed to the smoothing filter.
  void SetSmoothing(int32_t level) override;
  // The part of the virtual screen (0..4095 units) that the tablet area drives.
  void SetArea(const AreaRecord& screenArea) override { screenArea_.store(PackArea(screenArea), std::memory_order_relaxed); }
  // The part of the tablet that covers the screen area.
  void SetTabletArea(const AreaRecord& area) override { tabletArea_.store(PackArea(area), std::memory_order_relaxed); }
  void SetLeftHand(bool on) override { leftHand_.store(on, std::memory_order_relaxed); }
  // Set when the firmware version number is 0x2201 or more.
  void SetTiltEnabled(bool on) override { tiltEnabled_.store(on, std::memory_order_relaxed); }
  // Re-reads the monitors; at creation and after each display change.
  void RefreshScreenGeometry() override;

  // Decode, click, move. False (nothing changed) for a report shorter than a
  // digitizer report.
  bool ProcessReport(const uint8_t* data, size_t length);
  // The same, and what it leaves behind for the host to hand on.
  bool ProcessReport(const uint8_t* data, size_t length, PointerResult& out) override {
    if (!ProcessReport(data, length)) return false;
    out = {mask_, wheelStep_, p_, tiltA_, tiltB_, packet_};
    return true;
  }

  // What the host reads after ProcessReport.
  uint32_t Mask() const { return mask_; }
  int8_t WheelStep() const { return wheelStep_; }
  int32_t Pressure() const { return p_; }
  int8_t TiltA() const { return tiltA_; }
  int8_t TiltB() const { return tiltB_; }
  const PenPacket& Packet() const { return packet_; }

  int32_t Threshold() const { return threshold_.load(std::memory_order_relaxed); }
  int32_t Smoothing() const { return smoothing_.load(std::memory_order_relaxed); }
  AreaRecord ScreenArea() const { return UnpackArea(screenArea_.load(std::memory_order_relaxed)); }
  AreaRecord TabletArea() const { return UnpackArea(tabletArea_.load(std::memory_order_relaxed)); }
  bool LeftHand() const { return leftHand_.load(std::memory_order_relaxed); }
  bool TiltEnabled() const { return tiltEnabled_.load(std::memory_order_relaxed); }
  bool NoPosition() const { return noPosition_; }
  bool DownSent() const { return downSent_; }
  DisplayGeometry Geometry() const;

 private:
  bool ReadGeometry(DisplayGeometry& g) const;
  uint32_t ClickDecision();
  void SendPointer(uint32_t buttons, bool overStrip, Extended xs, Extended ys);

  TXYZFifo& fifo_;
  IMouseInput& mouse_;
  IDisplayInfo& display_;

  std::atomic<bool> tiltEnabled_{false};
  bool noPosition_ = false;
  std::atomic<int32_t> smoothing_{0};
  std::atomic<bool> leftHand_{false};
  bool downSent_ = false;
  int32_t lastX_ = 0, lastY_ = 0;
  int32_t reportsSinceRelease_ = 0;
  int32_t lastSentX_ = 0, lastSentY_ = 0;
  std::atomic<uint64_t> tabletArea_{PackArea(AreaRecord{0, 0, 4095, 4095})};
  std::atomic<uint64_t> screenArea_{0};
  PenPacket packet_;
  int32_t p_ = 0;  // the computed pressure; X, Y and their unrounded and mapped forms live per report
  int8_t tiltA_ = 0, tiltB_ = 0;
  uint32_t mask_ = 0;
  std::atomic<int32_t> threshold_{kDefaultThreshold};
  uint32_t previousMask_ = 0;
  // Monitor geometry: written by RefreshScreenGeometry, read per report.
  std::atomic<uint32_t> geometrySeq_{0};
  std::atomic<int32_t> primaryHeight_{0}, primaryWidth_{0};
  std::atomic<int32_t> virtualLeft_{0}, virtualTop_{0}, virtualWidth_{0}, virtualHeight_{0};
  int8_t wheelStep_ = 0;
  DisplayGeometry cachedGeometry_;  // the read thread's last consistent copy
};

}  // namespace pen
