#pragma once
#include <array>
#include <atomic>
#include <cstdint>

namespace pen {

struct PointF {
  double x = 0, y = 0;
};

// One step of a stroke: the quadrilateral from the previous point to the new
// one, and the round dot on the new point. Both are filled in opaque blue.
struct StrokeStep {
  std::array<PointF, 4> quad;  // previous edge (two corners), then the new edge
  PointF centre;
  double diameter = 0;
};

// The test drawing area: strokes whose width follows the pen pressure.
// `Pressure` is stored by the read threads and only read here.
class TTestDrawArea {
 public:
  static constexpr int32_t kStartPressure = 512;

  std::atomic<int32_t> Pressure{kStartPressure};

  // Drawing is suspended while a pressure change is waiting to be applied.
  bool Suspended = false;
  bool LabelsVisible = true;

  // Left button down: starts a stroke unless drawing is suspended. Hides the
  // labels when a stroke starts.
  void MouseDown(double x, double y);
  // False when nothing is to be drawn (no stroke, or the point did not move).
  bool MouseMove(double x, double y, StrokeStep& step);
  void MouseUp() { stroking_ = false; }
  // Blank white area, labels shown again, any stroke ended.
  void Clear();
  bool Stroking() const { return stroking_; }

 private:
  bool stroking_ = false;
  bool hasEdge_ = false;
  PointF last_;
  int32_t lastPressure_ = 0;
  std::array<PointF, 2> edge_;  // end edge of the previous step
};

// The test area's cursor: a 170 x 170 picture with a small red ring in the
// middle and a grey line from there in the direction of the pen's tilt.
struct CursorShape {
  static constexpr int kSize = 170;
  static constexpr double kRingDiameter = 6;
  static constexpr double kLineWidth = 4;
  PointF centre{kSize / 2.0, kSize / 2.0};
  PointF lineEnd{kSize / 2.0, kSize / 2.0};
};

CursorShape MakeCursorShape(int32_t tiltX, int32_t tiltY);

}  // namespace pen
