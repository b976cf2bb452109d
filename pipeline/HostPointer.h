#pragma once
#include <cstddef>
#include <cstdint>

#include "pipeline/AreaRecord.h"
#include "pipeline/PenPacket.h"

namespace pen {

// What pointer emulation leaves behind after one digitizer report.
struct PointerResult {
  uint32_t buttonState = 0;
  int8_t wheelStep = 0;
  int32_t pressure = 0;
  int8_t tiltA = 0;  // from report byte 14, after left-hand negation and gating
  int8_t tiltB = 0;  // from report byte 13
  PenPacket packet;
};

// Pointer emulation as the service host drives it (TSimMouse).
class IHostPointer {
 public:
  virtual ~IHostPointer() = default;
  virtual void SetThreshold(int32_t value) = 0;
  virtual void SetSmoothing(int32_t level) = 0;
  virtual void SetArea(const AreaRecord& screenArea) = 0;
  virtual void SetTabletArea(const AreaRecord& area) = 0;
  virtual void SetLeftHand(bool on) = 0;
  virtual void SetTiltEnabled(bool on) = 0;
  virtual void RefreshScreenGeometry() = 0;
  // Decodes, moves and clicks; false when the report was too short to use.
  virtual bool ProcessReport(const uint8_t* data, size_t size, PointerResult& out) = 0;
};

// The process-wide smoothing filter, as the host uses it for interface A
// (TXYZFifo).
class IHostSmoothing {
 public:
  virtual ~IHostSmoothing() = default;
  // Rewrites bytes 1..6 (position and pressure) of the packet.
  virtual void FilterPacket(PenPacket& packet) = 0;
  virtual void RequestRestart() = 0;
};

}  // namespace pen
