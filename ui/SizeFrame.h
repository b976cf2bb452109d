#pragma once
#include <cstdint>
#include <string>

#include "service/SettingsStore.h"
#include "ui/PixelRect.h"

namespace pen {

// Where on a frame the pointer is, and so what a drag from there does.
enum class GripZone : uint8_t { TopLeft, Left, BottomLeft, Top, Move, Bottom, TopRight, Right, BottomRight };

// The pointer shape a grip zone shows.
enum class FrameCursor : uint8_t { Arrow, SizeNWSE, SizeNESW, SizeWE, SizeNS };

// A movable, resizable rectangle over a picture: `Bounds` is the pixel
// rectangle that stands for 0..4095 on each axis, `Area` the rectangle in
// those units. Coordinates are the window's client pixels.
class TSizeFrame {
 public:
  static constexpr int32_t kUnitMax = 4095;
  static constexpr int kMinSize = 32;
  static constexpr int kGripBand = 5;

  virtual ~TSizeFrame() = default;

  virtual void SetBounds(const PixelRect& bounds);
  const PixelRect& Bounds() const { return bounds_; }

  // Stores the area and places the frame on it.
  void SetArea(const MapRect& area);
  // The frame's area in units. Measured back from the pixels only when the
  // frame was moved or sized since the area was set, so that an untouched
  // frame gives back exactly what it was given.
  MapRect Area();

  // Where the frame is, in pixels.
  const PixelRect& Rect() const { return rect_; }
  bool Contains(int x, int y) const { return rect_.Contains(x, y); }

  const std::u16string& Caption() const { return caption_; }
  void SetCaption(std::u16string caption) { caption_ = std::move(caption); }

  GripZone ZoneAt(int x, int y) const;
  static FrameCursor CursorOf(GripZone zone);
  // The zone under the pointer while no button is down, or the zone being
  // dragged.
  GripZone Zone() const { return zone_; }

  // Pointer events, in the same client coordinates as the bounds.
  void MouseHover(int x, int y);
  void MouseDown(int x, int y);
  void MouseDrag(int x, int y);
  void MouseUp() { dragging_ = false; }
  bool Dragging() const { return dragging_; }

 protected:
  // Puts the frame at these pixels, leaving the stored area to be measured.
  void Place(const PixelRect& r) { rect_ = r; }
  PixelRect PixelsOf(const MapRect& area) const;

 private:
  PixelRect bounds_{0, 0, 1, 1};
  MapRect area_{};
  PixelRect rect_{0, 0, 1, 1};  // where area_ puts it over bounds_
  std::u16string caption_;
  GripZone zone_ = GripZone::Move;
  bool dragging_ = false;
  int pressX_ = 0, pressY_ = 0;
  PixelRect start_{};
};

}  // namespace pen
