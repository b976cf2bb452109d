#include "ui/TestDrawArea.h"

#include <cmath>

namespace pen {

void TTestDrawArea::MouseDown(double x, double y) {
  if (Suspended) return;
  stroking_ = true;
  hasEdge_ = false;
  last_ = {x, y};
  lastPressure_ = Pressure.load(std::memory_order_relaxed);
  LabelsVisible = false;
}

bool TTestDrawArea::MouseMove(double x, double y, StrokeStep& step) {
  if (!stroking_) return false;
  if (x == last_.x && y == last_.y) return false;
  const int32_t pressure = Pressure.load(std::memory_order_relaxed);
  const double dx = x - last_.x, dy = y - last_.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  // The unit normal of the segment: widths are measured across it.
  const double nx = -dy / length, ny = dx / length;
  const double w0 = lastPressure_ / 1024.0, w1 = pressure / 1024.0;
  if (hasEdge_) {
    step.quad[0] = edge_[0];
    step.quad[1] = edge_[1];
  } else {
    step.quad[0] = {last_.x + nx * w0, last_.y + ny * w0};
    step.quad[1] = {last_.x - nx * w0, last_.y - ny * w0};
  }
  step.quad[2] = {x - nx * w1, y - ny * w1};
  step.quad[3] = {x + nx * w1, y + ny * w1};
  edge_ = {step.quad[3], step.quad[2]};
  hasEdge_ = true;
  step.centre = {x, y};
  step.diameter = pressure / 512.0;
  last_ = {x, y};
  lastPressure_ = pressure;
  return true;
}

void TTestDrawArea::Clear() {
  stroking_ = false;
  hasEdge_ = false;
  LabelsVisible = true;
}

CursorShape MakeCursorShape(int32_t tiltX, int32_t tiltY) {
  CursorShape s;
  s.lineEnd = {s.centre.x + tiltX / 2.0, s.centre.y + tiltY / 2.0};
  return s;
}

}  // namespace pen
