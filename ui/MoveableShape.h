#pragma once
#include <cstdint>
#include <vector>

#include "ui/SizeFrame.h"

namespace pen {

// The screen area's frame over the desktop picture. Besides moving and
// sizing it steps through the whole desktop and each monitor in turn.
class TMoveableShape final : public TSizeFrame {
 public:
  // The virtual desktop and its monitors, in desktop pixels. Takes effect
  // with the next SetBounds.
  void SetDesktop(const PixelRect& desktop, std::vector<PixelRect> monitors);

  void SetBounds(const PixelRect& bounds) override;

  // One step of the cycle: the whole desktop, monitor 1, ... monitor n,
  // the whole desktop again. With fewer than two monitors always the whole
  // desktop.
  void Step();

  // 0: the next step shows the whole desktop; k: it shows monitor k.
  int MonitorCycle() const { return monitorCycle_; }
  // Each monitor's rectangle over the picture.
  const std::vector<PixelRect>& MonitorRects() const { return monitorRects_; }

 private:
  PixelRect desktop_{0, 0, 1, 1};
  std::vector<PixelRect> monitors_;
  std::vector<PixelRect> monitorRects_;
  int monitorCycle_ = 0;
};

}  // namespace pen
