#include "ui/SizeFrame.h"

#include <algorithm>

namespace pen {

namespace {

// One axis of a dragged frame: at least the minimum size, the start not
// before the bounds, the end moved back inside, and a frame larger than the
// bounds made as large as they are, at their start.
void KeepInside(int& start, int& size, int boundsStart, int boundsEnd) {
  size = std::max(size, TSizeFrame::kMinSize);
  start = std::max(start, boundsStart);
  if (start + size <= boundsEnd) return;
  if (size > boundsEnd - boundsStart) {
    start = boundsStart;
    size = boundsEnd - boundsStart;
  } else {
    start = boundsEnd - size;
  }
}

}  // namespace

void TSizeFrame::SetBounds(const PixelRect& bounds) {
  bounds_ = bounds;
  // A picture not laid out yet has no extent; one pixel keeps the
  // conversions defined until it is.
  if (bounds_.Width() < 1) bounds_.right = bounds_.left + 1;
  if (bounds_.Height() < 1) bounds_.bottom = bounds_.top + 1;
  rect_ = PixelsOf(area_);
}

PixelRect TSizeFrame::PixelsOf(const MapRect& a) const {
  const int w = bounds_.Width(), h = bounds_.Height();
  return {a.left * w / kUnitMax + bounds_.left, a.top * h / kUnitMax + bounds_.top,
          a.right * w / kUnitMax + bounds_.left, a.bottom * h / kUnitMax + bounds_.top};
}

void TSizeFrame::SetArea(const MapRect& area) {
  area_ = area;
  rect_ = PixelsOf(area_);
}

MapRect TSizeFrame::Area() {
  if (rect_ == PixelsOf(area_)) return area_;
  const int w = bounds_.Width(), h = bounds_.Height();
  MapRect a;
  a.left = (rect_.left - bounds_.left) * kUnitMax / w;
  a.top = (rect_.top - bounds_.top) * kUnitMax / h;
  a.right = std::min(kUnitMax, a.left + rect_.Width() * kUnitMax / w);
  a.bottom = std::min(kUnitMax, a.top + rect_.Height() * kUnitMax / h);
  area_ = a;
  return area_;
}

GripZone TSizeFrame::ZoneAt(int x, int y) const {
  const bool left = x < rect_.left + kGripBand, right = x >= rect_.right - kGripBand;
  const bool top = y < rect_.top + kGripBand, bottom = y >= rect_.bottom - kGripBand;
  if (left) return top ? GripZone::TopLeft : bottom ? GripZone::BottomLeft : GripZone::Left;
  if (right) return top ? GripZone::TopRight : bottom ? GripZone::BottomRight : GripZone::Right;
  return top ? GripZone::Top : bottom ? GripZone::Bottom : GripZone::Move;
}

FrameCursor TSizeFrame::CursorOf(GripZone zone) {
  switch (zone) {
    case GripZone::TopLeft:
    case GripZone::BottomRight: return FrameCursor::SizeNWSE;
    case GripZone::BottomLeft:
    case GripZone::TopRight: return FrameCursor::SizeNESW;
    case GripZone::Left:
    case GripZone::Right: return FrameCursor::SizeWE;
    case GripZone::Top:
    case GripZone::Bottom: return FrameCursor::SizeNS;
    case GripZone::Move: break;
  }
  return FrameCursor::Arrow;
}

void TSizeFrame::MouseHover(int x, int y) {
  if (!dragging_) zone_ = ZoneAt(x, y);
}

void TSizeFrame::MouseDown(int x, int y) {
  zone_ = ZoneAt(x, y);
  pressX_ = x;
  pressY_ = y;
  start_ = rect_;
  dragging_ = true;
  caption_.clear();
}

void TSizeFrame::MouseDrag(int x, int y) {
  if (!dragging_) return MouseHover(x, y);
  const int dx = x - pressX_, dy = y - pressY_;
  int left = start_.left, top = start_.top, width = start_.Width(), height = start_.Height();
  const bool leftGrip = zone_ == GripZone::TopLeft || zone_ == GripZone::Left || zone_ == GripZone::BottomLeft;
  const bool rightGrip = zone_ == GripZone::TopRight || zone_ == GripZone::Right || zone_ == GripZone::BottomRight;
  const bool topGrip = zone_ == GripZone::TopLeft || zone_ == GripZone::Top || zone_ == GripZone::TopRight;
  const bool bottomGrip =
      zone_ == GripZone::BottomLeft || zone_ == GripZone::Bottom || zone_ == GripZone::BottomRight;
  if (zone_ == GripZone::Move) {
    left += dx;
    top += dy;
  }
  if (leftGrip) {
    left += dx;
    width -= dx;
  }
  if (rightGrip) width += dx;
  if (topGrip) {
    top += dy;
    height -= dy;
  }
  if (bottomGrip) height += dy;

  KeepInside(left, width, bounds_.left, bounds_.right);
  KeepInside(top, height, bounds_.top, bounds_.bottom);
  rect_ = {left, top, left + width, top + height};
}

}  // namespace pen
