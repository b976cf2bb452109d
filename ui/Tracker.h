#pragma once
#include <algorithm>
#include <cstdint>

namespace pen {

// The pressure tracker's geometry: a thumb `kThumbWidth` wide slides over a
// track from -255 (left end) to 255 (right end) and shows its value.
namespace tracker {
constexpr int32_t kMin = -255;
constexpr int32_t kMax = 255;
constexpr int kThumbWidth = 36;
constexpr int32_t kPageStep = 16;

// Left edge of the thumb for `value` in a tracker `width` pixels wide.
constexpr int ThumbLeft(int32_t value, int width) {
  const int span = std::max(width - kThumbWidth, 1);
  return static_cast<int>((std::clamp(value, kMin, kMax) - kMin) * span / (kMax - kMin));
}

// The value under the thumb's centre when it is at `x`, rounded to nearest.
constexpr int32_t ValueAt(int x, int width) {
  const int span = std::max(width - kThumbWidth, 1);
  const int offset = std::clamp(x - kThumbWidth / 2, 0, span);
  return kMin + static_cast<int32_t>((offset * (kMax - kMin) + span / 2) / span);
}
}  // namespace tracker

}  // namespace pen
