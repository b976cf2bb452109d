#pragma once
#include "pipeline/PktFifoBezier.h"
#include "pipeline/SimMouse.h"
#include "service/HostPointer.h"

namespace pen {

// Pointer emulation as the host drives it.
class TSimMouseLink final : public IHostPointer {
 public:
  explicit TSimMouseLink(TSimMouse& mouse) : mouse_(mouse) {}
  void SetThreshold(int32_t value) override { mouse_.SetThreshold(value); }
  void SetSmoothing(int32_t level) override { mouse_.SetSmoothing(level); }
  void SetScreenArea(const AreaRecord& area) override { mouse_.SetArea(area); }
  void SetTabletArea(const AreaRecord& area) override { mouse_.SetTabletArea(area); }
  void SetLeftHand(bool on) override { mouse_.SetLeftHand(on); }
  void SetTiltEnabled(bool on) override { mouse_.SetTiltEnabled(on); }
  void RefreshScreenGeometry() override { mouse_.RefreshScreenGeometry(); }
  bool ProcessReport(const uint8_t* data, size_t size, PointerResult& out) override {
    if (!mouse_.ProcessReport(data, size)) return false;
    out.buttonState = mouse_.Mask();
    out.wheelStep = mouse_.WheelStep();
    out.pressure = mouse_.Pressure();
    out.tiltA = mouse_.TiltA();
    out.tiltB = mouse_.TiltB();
    out.packet = mouse_.Packet();
    return true;
  }

 private:
  TSimMouse& mouse_;
};

// The smoothing filter's interface-A path.
class TFifoLink final : public IHostSmoothing {
 public:
  explicit TFifoLink(TXYZFifo& fifo) : fifo_(fifo) {}
  void SmoothPacket(PenPacket& packet) override { fifo_.FilterPacket(packet); }
  void Restart() override { fifo_.RequestRestart(); }

 private:
  TXYZFifo& fifo_;
};

}  // namespace pen
