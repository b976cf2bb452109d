#include "keys/win32/Win32ForegroundWindows.h"

#include <windows.h>

namespace pen::win32 {

uintptr_t Win32ForegroundWindows::Foreground() { return reinterpret_cast<uintptr_t>(GetForegroundWindow()); }

void Win32ForegroundWindows::SetForeground(uintptr_t window) {
  // The window may have gone while the settings were open.
  HWND w = reinterpret_cast<HWND>(window);
  if (w && IsWindow(w)) SetForegroundWindow(w);
}

}  // namespace pen::win32
