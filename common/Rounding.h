#pragma once
#include <cmath>
#include <cstdint>

namespace pen {

// The pen arithmetic runs in extended precision (80-bit on x86 with g++ and
// mingw alike) and rounds to nearest with ties to even, the FPU default.
using Extended = long double;

inline int64_t RoundHalfEven(Extended v) {
#if defined(__i386__) || defined(__x86_64__)
  // The x87 store rounds by the current rounding mode, which nothing here
  // changes from round-to-nearest-even: the very instruction the library's
  // llrintl runs, without a call per value on the per-report path.
  int64_t rounded;
  __asm__("fistpll %0" : "=m"(rounded) : "t"(v) : "st");
  return rounded;
#else
  // llrint honours the current rounding mode, which nothing here changes.
  // Unlike nearbyint it does not save and restore the floating-point
  // environment; it only may raise the inexact flag, which nothing reads.
  return static_cast<int64_t>(std::llrintl(v));
#endif
}

// Windows starts every new thread with the x87 unit rounding to 53 bits, so
// `Extended` arithmetic would silently run at double precision there. Each
// thread that runs pen arithmetic calls this first; elsewhere the default is
// already 64 bits and it does nothing.
inline void EnsureExtendedPrecision() {
#if defined(_WIN32) && (defined(__i386__) || defined(__x86_64__))
  unsigned short cw = 0;
  __asm__ volatile("fnstcw %0" : "=m"(cw));
  cw = static_cast<unsigned short>(cw | 0x0300);  // precision control: 64-bit mantissa
  __asm__ volatile("fldcw %0" : : "m"(cw));
#endif
}

}  // namespace pen
