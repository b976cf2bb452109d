#include "pipeline/win32/Win32PerformanceCounter.h"

#include <windows.h>

namespace pen::win32 {

uint64_t TWin32PerformanceCounter::Frequency() {
  LARGE_INTEGER f{};
  return QueryPerformanceFrequency(&f) ? static_cast<uint64_t>(f.QuadPart) : 0;
}

uint64_t TWin32PerformanceCounter::Count() {
  LARGE_INTEGER c{};
  QueryPerformanceCounter(&c);
  return static_cast<uint64_t>(c.QuadPart);
}

}  // namespace pen::win32
