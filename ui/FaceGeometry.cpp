#include "ui/FaceGeometry.h"

namespace pen::face {

Arc ArcOf(int function) {
  // Boundary k at -67.5 + 45 k degrees with y down is 67.5 - 45 k with y up;
  // the sector runs clockwise from boundary i - 1 to boundary i.
  const double from = 67.5 - 45.0 * BoundaryBefore(function);
  return Arc{from < 0 ? from + 360.0 : from, -45.0};
}

int FitNameFont(int points, const std::function<int(int)>& widest) {
  if (points < kMinPoints) points = kMinPoints;
  if (points > kMaxPoints) points = kMaxPoints;
  while (points < kMaxPoints && widest(points) < kNameMinWidth) ++points;
  while (points > kMinPoints && widest(points) > kNameMaxWidth) --points;
  return points;
}

void Average3x3(std::span<const uint32_t> dial, std::span<uint32_t> face) {
  if (dial.size() < static_cast<size_t>(kDial) * kDial || face.size() < static_cast<size_t>(kFace) * kFace) return;
  for (int y = 0; y < kFace; ++y) {
    for (int x = 0; x < kFace; ++x) {
      uint32_t sum[4] = {};
      for (int dy = 0; dy < kScale; ++dy) {
        const uint32_t* row = &dial[static_cast<size_t>((y * kScale + dy) * kDial + x * kScale)];
        for (int dx = 0; dx < kScale; ++dx) {
          for (int c = 0; c < 4; ++c) sum[c] += (row[dx] >> (8 * c)) & 0xFF;
        }
      }
      uint32_t out = 0;
      for (int c = 0; c < 4; ++c) out |= (sum[c] / 9) << (8 * c);
      face[static_cast<size_t>(y * kFace + x)] = out;
    }
  }
}

}  // namespace pen::face
