#pragma once
#include <windows.h>

namespace pen::test {

// Handles a process holds, counted by trying each handle value: Wine answers
// GetProcessHandleCount with 0. A value names a handle when it can be
// duplicated out of the process (handle values are multiples of 4).
inline unsigned HandleCount(HANDLE process = GetCurrentProcess()) {
  unsigned n = 0;
  for (UINT_PTR value = 4; value < 0x10000; value += 4) {
    HANDLE copy = nullptr;
    if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                        DUPLICATE_SAME_ACCESS)) {
      CloseHandle(copy);
      ++n;
    }
  }
  return n;
}

}  // namespace pen::test
