#pragma once
#include <string>
#include <string_view>

#include "mac/Geometry.h"

namespace penmac {

// The four rotations; the sign after the digits is U+00BA, not the degree sign.
inline constexpr std::string_view kRotation0 = "0º";
inline constexpr std::string_view kRotation90 = "90º";
inline constexpr std::string_view kRotation180 = "180º";
inline constexpr std::string_view kRotation270 = "270º";

// Quarter turns (0..3) of a rotation string; any other string counts as 0.
int QuarterTurns(std::string_view rotation);

// A vector turned about the origin by whole quarter turns, counter-clockwise
// with y upward. Exact sine and cosine values keep a mapped point free of the
// 1e-13 residues a floating quarter of pi would leave.
Point RotateQuarterTurns(Point p, int quarterTurns);

// Target area of the tablet in the desktop's bottom-left-origin space, and the
// tablet's rotation.
struct ScreenConfig {
  penmac::Rect Rect;
  std::string Rotation{kRotation0};
  bool operator==(const ScreenConfig&) const = default;
};

}  // namespace penmac
