#pragma once
#include <vector>

#include "ui/MoveableShape.h"
#include "ui/PixelRect.h"

namespace pen {

// The virtual desktop as the system reports it, in desktop pixels.
struct DesktopGeometry {
  PixelRect desktop{0, 0, 1, 1};
  std::vector<PixelRect> monitors;
};

// The picture of a monitor showing the whole virtual desktop, with the
// screen area's frame over it. Lays the picture out; the window draws it.
class TDisplayMonitor {
 public:
  static constexpr int kBezel = 10;
  static constexpr int kGap = 10;
  static constexpr int kMargin = 10;

  // Where the control is, in the window's client pixels.
  void SetControlRect(const PixelRect& r) { control_ = r; }
  const PixelRect& ControlRect() const { return control_; }

  // Re-reads the desktop and lays the picture out again; the frame keeps
  // its area over the new picture.
  void Refresh(const DesktopGeometry& desktop);

  const DesktopGeometry& Desktop() const { return desktop_; }
  // The desktop's picture, in the window's client pixels.
  const PixelRect& ScreenRect() const { return screen_; }
  // The dark case round the picture, and the stand below it.
  PixelRect BezelRect() const;
  PixelRect NeckRect() const;
  PixelRect FootRect() const;

  TMoveableShape& Shape() { return shape_; }
  const TMoveableShape& Shape() const { return shape_; }

 private:
  PixelRect control_{};
  DesktopGeometry desktop_;
  PixelRect screen_{};
  TMoveableShape shape_;
};

}  // namespace pen
