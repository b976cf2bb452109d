#include "pipeline/win32/MessageOnlyWindow.h"

namespace pen::win32 {

HWND CreateMessageOnlyWindow(const wchar_t* className, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  RegisterClassExW(&wc);  // fails harmlessly when an earlier window registered it
  return CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

}  // namespace pen::win32
