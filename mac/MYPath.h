#pragma once
#include <cstddef>
#include <vector>

#include "mac/Geometry.h"

namespace penmac {

// The test canvas's strokes: each pen point with its pressure (and tilt)
// becomes a point of the centre line and two outline points either side of
// it, as far apart as the stroke is wide there, so that whatever draws the
// outlines shows a stroke whose width follows the pressure. Coordinates are
// whatever the canvas gives; nothing here knows about drawing.
class MYPath {
 public:
  // Widths at no pressure and at full pressure (tilt can widen the latter).
  static constexpr double kMinWidth = 1.0;
  static constexpr double kMaxWidth = 24.0;
  // A tilted pen lies on its side, like a pencil: up to this much wider.
  static constexpr double kTiltWidening = 0.5;

  struct Stroke {
    size_t first = 0;  // index into the point lists
    size_t count = 0;
  };

  // The width for a pressure 0..1 and a tilt of -1..1 on each axis; values
  // outside those ranges count as their nearest end.
  static double Width(double pressure, Point tilt = {});

  // Starts a stroke at `location`.
  void move(Point location, double pressure);
  // Continues the stroke to `location`. A point on top of the last one adds
  // nothing: it has no direction to lay its outline across.
  void line(Point location, double pressure, Point tilt);
  void clear();
  // The outline of the `count` points from index `points` on: the upper
  // side forward and the lower side back, a closed polygon to fill. Empty
  // when the range does not lie within the lists.
  std::vector<Point> dash(size_t points, size_t count) const;

  std::vector<Point> UpPoint;
  std::vector<Point> MidPoint;
  std::vector<Point> DownPoint;
  std::vector<double> Widths;  // per point of MidPoint
  std::vector<Stroke> Strokes;
  Point LPoint;  // the last point of the stroke being drawn
  Point NPoint;  // the point being added

 private:
  void Push(Point mid, double width, Point normal);
};

}  // namespace penmac
