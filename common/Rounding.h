#pragma once
#include <cmath>
#include <cstdint>

namespace pen {

// The pen arithmetic runs in extended precision (80-bit on x86 with g++ and
// mingw alike) and rounds to nearest with ties to even, the FPU default.
using Extended = long double;

inline int64_t RoundHalfEven(Extended v) {
  // nearbyint honours the current rounding mode, which nothing here changes
  // from round-to-nearest-even.
  return static_cast<int64_t>(std::nearbyintl(v));
}

}  // namespace pen
