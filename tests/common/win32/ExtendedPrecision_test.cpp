#include <windows.h>

#include <gtest/gtest.h>

#include "common/Rounding.h"

namespace pen {
namespace {

// Adding a quarter of a double's last place survives only in 64-bit precision.
bool ArithmeticIsExtended() {
  volatile Extended one = 1.0L;
  volatile Extended tiny = 0x1p-55L;
  return (one + tiny) != one;
}

void SetDoublePrecision() {
  unsigned short cw = 0;
  __asm__ volatile("fnstcw %0" : "=m"(cw));
  cw = static_cast<unsigned short>((cw & ~0x0300) | 0x0200);
  __asm__ volatile("fldcw %0" : : "m"(cw));
}

DWORD WINAPI ThreadLikeWindowsStartsIt(void* result) {
  // What a new thread gets on Windows: the x87 unit rounding to 53 bits.
  SetDoublePrecision();
  auto* r = static_cast<bool*>(result);
  r[0] = ArithmeticIsExtended();
  EnsureExtendedPrecision();
  r[1] = ArithmeticIsExtended();
  return 0;
}

TEST(ExtendedPrecision, AThreadStartedAtDoublePrecisionGetsTheFull64BitMantissaBack) {
  bool result[2] = {true, false};
  HANDLE t = CreateThread(nullptr, 0, &ThreadLikeWindowsStartsIt, result, 0, nullptr);
  ASSERT_NE(t, nullptr);
  WaitForSingleObject(t, INFINITE);
  CloseHandle(t);
  EXPECT_FALSE(result[0]) << "the test could not lower the precision";
  EXPECT_TRUE(result[1]);
}

}  // namespace
}  // namespace pen
