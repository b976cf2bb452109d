#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pen {

// The live pressure chart: a series over -100..8192, of which the last 254
// values are kept and the newest 40 drawn across the chart, newest at the
// right, over 15 horizontal grid lines.
class TPressureLine {
 public:
  static constexpr int32_t kMin = -100;
  static constexpr int32_t kMax = 8192;
  static constexpr size_t kKept = 254;
  static constexpr size_t kShown = 40;
  static constexpr int kGridLines = 15;
  static constexpr int kLineWidth = 3;

  struct Point {
    int x, y;
  };

  // False, with `error` set, for a value outside the range; the series is
  // then unchanged.
  bool Add(int32_t value, std::string& error);
  void Clear() { count_ = 0; }
  size_t Count() const { return count_; }
  // The i-th newest value (0 = newest); i < Count().
  int32_t Newest(size_t i) const;

  // Vertical pixel of `value` in a chart `height` pixels high (top = 0).
  static int YOf(int32_t value, int height);
  // The grid lines' vertical pixels, top to bottom.
  static std::array<int, kGridLines> GridLines(int height);
  // The drawn points, oldest first, in a chart of that size.
  std::vector<Point> Points(int width, int height) const;

 private:
  std::array<int32_t, kKept> ring_{};
  size_t next_ = 0;
  size_t count_ = 0;
};

// The vertical pressure bar over -100..8192: the filled height.
int BarFill(int32_t value, int height);

}  // namespace pen
