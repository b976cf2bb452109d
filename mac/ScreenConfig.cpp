#include "mac/ScreenConfig.h"

namespace penmac {

int QuarterTurns(std::string_view rotation) {
  if (rotation == kRotation90) return 1;
  if (rotation == kRotation180) return 2;
  if (rotation == kRotation270) return 3;
  return 0;
}

Point RotateQuarterTurns(Point p, int quarterTurns) {
  // x' = x cos - y sin, y' = x sin + y cos for 0, pi/2, pi, 3pi/2.
  switch (quarterTurns & 3) {
    case 1: return {-p.y, p.x};
    case 2: return {-p.x, -p.y};
    case 3: return {p.y, -p.x};
    default: return p;
  }
}

}  // namespace penmac
