#include "ui/DisplayMonitor.h"

#include <algorithm>

namespace pen {

namespace {
// What the picture needs below and above the screen: the bezel and a half,
// four gaps for the stand and two margins.
constexpr int kFrameHeight = TDisplayMonitor::kBezel * 3 / 2 + 4 * TDisplayMonitor::kGap + 2 * TDisplayMonitor::kMargin;
}  // namespace

void TDisplayMonitor::Refresh(const DesktopGeometry& desktop) {
  const MapRect area = shape_.Area();
  desktop_ = desktop;
  const int dw = std::max(1, desktop_.desktop.Width()), dh = std::max(1, desktop_.desktop.Height());
  const int cw = control_.Width(), ch = control_.Height();
  int sw = cw - 2 * kBezel - 2 * kMargin;
  int sh = sw * dh / dw;
  int x = 0, y = 0;
  if (sh + kFrameHeight > ch) {
    sh = ch - kFrameHeight;
    sw = sh * dw / dh;
    x = (cw - sw) / 2;
    y = kMargin + kBezel;
  } else {
    x = (cw - sw) / 2;
    y = (ch - sh - kFrameHeight) / 2 + kMargin + kBezel;
  }
  screen_ = {control_.left + x, control_.top + y, control_.left + x + std::max(sw, 1),
             control_.top + y + std::max(sh, 1)};
  shape_.SetDesktop(desktop_.desktop, desktop_.monitors);
  shape_.SetArea(area);
  shape_.SetBounds(screen_);
}

PixelRect TDisplayMonitor::BezelRect() const {
  return {screen_.left - kBezel, screen_.top - kBezel, screen_.right + kBezel, screen_.bottom + kBezel};
}

PixelRect TDisplayMonitor::NeckRect() const {
  const int cx = (screen_.left + screen_.right) / 2, half = std::max(screen_.Width() / 14, kGap);
  const int top = screen_.bottom + kBezel;
  return {cx - half, top, cx + half, top + 2 * kGap};
}

PixelRect TDisplayMonitor::FootRect() const {
  const int cx = (screen_.left + screen_.right) / 2, half = std::max(screen_.Width() / 6, 2 * kGap);
  const int top = NeckRect().bottom;
  return {cx - half, top, cx + half, top + kGap};
}

}  // namespace pen
