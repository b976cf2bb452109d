#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

// Points, sizes and rectangles in doubles, with the rules of the desktop's
// own geometry: a rectangle contains its minimum edges and not its maximum
// ones, and a union takes in every rectangle given, even an empty one at the
// origin.
namespace penmac {

struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  double width = 0;
  double height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  Point origin;
  Size size;
  bool operator==(const Rect&) const = default;

  double MinX() const { return std::min(origin.x, origin.x + size.width); }
  double MaxX() const { return std::max(origin.x, origin.x + size.width); }
  double MinY() const { return std::min(origin.y, origin.y + size.height); }
  double MaxY() const { return std::max(origin.y, origin.y + size.height); }
  double MidX() const { return origin.x + size.width / 2; }
  double MidY() const { return origin.y + size.height / 2; }
  double Width() const { return std::fabs(size.width); }
  double Height() const { return std::fabs(size.height); }

  bool Contains(Point p) const { return p.x >= MinX() && p.x < MaxX() && p.y >= MinY() && p.y < MaxY(); }

  Rect Union(const Rect& other) const {
    const double minX = std::min(MinX(), other.MinX());
    const double minY = std::min(MinY(), other.MinY());
    const double maxX = std::max(MaxX(), other.MaxX());
    const double maxY = std::max(MaxY(), other.MaxY());
    return Rect{{minX, minY}, {maxX - minX, maxY - minY}};
  }
};

// Truncation toward zero that stays defined for any double: the event
// fields are integers, and a hand-edited screen file can push a location far
// outside the range of one.
inline int64_t TruncateToInt64(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kMax = 9.2e18;
  if (v >= kMax) return static_cast<int64_t>(kMax);
  if (v <= -kMax) return -static_cast<int64_t>(kMax);
  return static_cast<int64_t>(v);
}

}  // namespace penmac
