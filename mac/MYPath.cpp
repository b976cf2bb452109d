#include "mac/MYPath.h"

#include <algorithm>
#include <cmath>

namespace penmac {

namespace {

// Below this distance (in the canvas's units) two points are the same.
constexpr double kSamePoint = 1e-6;

double Clamp01(double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); }

}  // namespace

double MYPath::Width(double pressure, Point tilt) {
  const double tx = std::isnan(tilt.x) ? 0.0 : std::clamp(tilt.x, -1.0, 1.0);
  const double ty = std::isnan(tilt.y) ? 0.0 : std::clamp(tilt.y, -1.0, 1.0);
  const double lean = std::min(1.0, std::hypot(tx, ty));
  return (kMinWidth + (kMaxWidth - kMinWidth) * Clamp01(pressure)) * (1.0 + kTiltWidening * lean);
}

void MYPath::Push(Point mid, double width, Point normal) {
  const double h = width / 2;
  MidPoint.push_back(mid);
  UpPoint.push_back({mid.x + normal.x * h, mid.y + normal.y * h});
  DownPoint.push_back({mid.x - normal.x * h, mid.y - normal.y * h});
  Widths.push_back(width);
  ++Strokes.back().count;
}

void MYPath::move(Point location, double pressure) {
  Strokes.push_back({MidPoint.size(), 0});
  LPoint = NPoint = location;
  // The first point's outline lies across the stroke's first segment; until
  // there is one it stands upright.
  Push(location, Width(pressure), {0, 1});
}

void MYPath::line(Point location, double pressure, Point tilt) {
  if (Strokes.empty()) {
    move(location, pressure);
    return;
  }
  NPoint = location;
  const double dx = NPoint.x - LPoint.x;
  const double dy = NPoint.y - LPoint.y;
  const double length = std::hypot(dx, dy);
  if (!(length > kSamePoint)) return;
  const Point normal{-dy / length, dx / length};
  Stroke& stroke = Strokes.back();
  if (stroke.count == 1) {
    // Now that the stroke has a direction, turn its first point's outline
    // across it.
    const size_t i = stroke.first;
    const double h = Widths[i] / 2;
    UpPoint[i] = {MidPoint[i].x + normal.x * h, MidPoint[i].y + normal.y * h};
    DownPoint[i] = {MidPoint[i].x - normal.x * h, MidPoint[i].y - normal.y * h};
  }
  Push(NPoint, Width(pressure, tilt), normal);
  LPoint = NPoint;
}

void MYPath::clear() {
  UpPoint.clear();
  MidPoint.clear();
  DownPoint.clear();
  Widths.clear();
  Strokes.clear();
  LPoint = NPoint = Point{};
}

std::vector<Point> MYPath::dash(size_t points, size_t count) const {
  std::vector<Point> outline;
  if (count == 0 || points > MidPoint.size() || count > MidPoint.size() - points) return outline;
  outline.reserve(2 * count);
  for (size_t i = points; i < points + count; ++i) outline.push_back(UpPoint[i]);
  for (size_t i = points + count; i-- > points;) outline.push_back(DownPoint[i]);
  return outline;
}

}  // namespace penmac
