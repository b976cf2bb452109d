#include "inkprobe/win32/Win32Desktop.h"

#include <windows.h>

namespace pen::win32 {

bool TWin32Desktop::PostQuitToWindowOfClass(const char* className) {
  HWND window = FindWindowA(className, nullptr);
  if (!window) return false;
  PostMessageA(window, WM_QUIT, 0, 0);
  return true;
}

void TWin32Desktop::Show(const std::string& caption, const std::string& text, TMessageIcon icon) {
  const UINT style = MB_OK | (icon == TMessageIcon::Error ? MB_ICONERROR : MB_ICONWARNING);
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

}  // namespace pen::win32
