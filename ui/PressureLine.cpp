#include "ui/PressureLine.h"

#include <algorithm>

namespace pen {

bool TPressureLine::Add(int32_t value, std::string& error) {
  if (value < kMin || value > kMax) {
    error = "Point value out of range (" + std::to_string(value) + ")";
    return false;
  }
  ring_[next_] = value;
  next_ = (next_ + 1) % kKept;
  count_ = std::min(count_ + 1, kKept);
  return true;
}

int32_t TPressureLine::Newest(size_t i) const { return ring_[(next_ + kKept - 1 - i) % kKept]; }

int TPressureLine::YOf(int32_t value, int height) {
  const int64_t span = kMax - kMin;
  const int64_t above = static_cast<int64_t>(kMax) - std::clamp(value, kMin, kMax);
  return static_cast<int>(above * (height - 1) / span);
}

std::array<int, TPressureLine::kGridLines> TPressureLine::GridLines(int height) {
  std::array<int, kGridLines> ys{};
  for (int k = 0; k < kGridLines; ++k) ys[k] = (height - 1) * k / (kGridLines - 1);
  return ys;
}

std::vector<TPressureLine::Point> TPressureLine::Points(int width, int height) const {
  const size_t n = std::min(count_, kShown);
  std::vector<Point> points;
  points.reserve(n);
  for (size_t k = n; k-- > 0;) {
    // Slot kShown - 1 is the right edge, whatever the number of values.
    const int slot = static_cast<int>(kShown - 1 - k);
    points.push_back({(width - 1) * slot / static_cast<int>(kShown - 1), YOf(Newest(k), height)});
  }
  return points;
}

int BarFill(int32_t value, int height) {
  const int64_t v = std::clamp(value, TPressureLine::kMin, TPressureLine::kMax) - TPressureLine::kMin;
  return static_cast<int>(v * height / (TPressureLine::kMax - TPressureLine::kMin));
}

}  // namespace pen
