#include "ui/MoveableShape.h"

namespace pen {

namespace {
constexpr MapRect kWholeDesktop{0, 0, TSizeFrame::kUnitMax, TSizeFrame::kUnitMax};
}

void TMoveableShape::SetDesktop(const PixelRect& desktop, std::vector<PixelRect> monitors) {
  desktop_ = desktop;
  if (desktop_.Width() < 1) desktop_.right = desktop_.left + 1;
  if (desktop_.Height() < 1) desktop_.bottom = desktop_.top + 1;
  monitors_ = std::move(monitors);
}

void TMoveableShape::SetBounds(const PixelRect& bounds) {
  TSizeFrame::SetBounds(bounds);
  const PixelRect& b = Bounds();
  const int dw = desktop_.Width(), dh = desktop_.Height();
  monitorRects_.clear();
  for (const PixelRect& m : monitors_) {
    // One pixel more on the right and bottom: the scaled edges round down,
    // and the last monitor then reaches the picture's edge.
    monitorRects_.push_back({(m.left - desktop_.left) * b.Width() / dw + b.left,
                             (m.top - desktop_.top) * b.Height() / dh + b.top,
                             (m.right - desktop_.left) * b.Width() / dw + b.left + 1,
                             (m.bottom - desktop_.top) * b.Height() / dh + b.top + 1});
  }
  monitorCycle_ = Area() == kWholeDesktop ? 1 : 0;
}

void TMoveableShape::Step() {
  if (monitorRects_.size() < 2 || monitorCycle_ == 0) {
    SetArea(kWholeDesktop);
  } else {
    Place(monitorRects_[static_cast<size_t>(monitorCycle_ - 1)]);
  }
  if (monitorRects_.size() >= 2) monitorCycle_ = (monitorCycle_ + 1) % static_cast<int>(monitorRects_.size() + 1);
}

}  // namespace pen
