#pragma once
// Real mouse input for the end-to-end tests: the pointer moved and the left
// button pressed through the system's input queue, as a user's hand would.
#include <windows.h>

namespace e2e {

inline void MouseTo(int x, int y) {
  const int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>(x * 65535 / w);
  in.mi.dy = static_cast<LONG>(y * 65535 / h);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

inline void Button(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}

inline POINT Centre(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline void ClickAt(POINT p) {
  MouseTo(p.x, p.y);
  Sleep(100);
  Button(true);
  Sleep(80);
  Button(false);
}

inline void Click(HWND window) { ClickAt(Centre(window)); }

}  // namespace e2e
