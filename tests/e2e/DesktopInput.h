#pragma once
// The user's mouse and keyboard, as the end-to-end tests drive the service's
// windows: real input through the system, not messages to the windows.
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

inline POINT Centre(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline void Click(HWND control) {
  const POINT c = Centre(control);
  MouseTo(c.x, c.y);
  Sleep(100);
  Button(true);
  Sleep(80);
  Button(false);
}

// One key pressed and released.
inline void Key(WORD vk) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
}

}  // namespace e2e
