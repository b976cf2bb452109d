#pragma once
#include <cmath>
#include <cstdint>

namespace pen {

// The pen arithmetic runs in extended precision (80-bit on x86 with g++ and
// mingw alike) and rounds to nearest with ties to even, the FPU default.
using Extended = long double;

inline int64_t RoundHalfEven(Extended v) {
  // llrint honours the current rounding mode, which nothing here changes
  // from round-to-nearest-even. Unlike nearbyint it does not save and restore
  // the floating-point environment, which costs ~100 ns per call on the
  // per-report path; it only may raise the inexact flag, which nothing reads.
  return static_cast<int64_t>(std::llrintl(v));
}

}  // namespace pen
