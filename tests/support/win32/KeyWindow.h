#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace pen::test {

// Runs this thread's messages for `ms`.
inline void PumpMessages(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    Sleep(10);
  } while (GetTickCount() - start < ms);
}

// A focused window of this thread that notes the keys it receives as
// "down VK/SCAN" and "up VK/SCAN", system keys (with Alt) included, and
// its right mouse button as "right down" and "right up".
class KeyWindow {
 public:
  KeyWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &KeyWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PenTestKeyWindow";
    RegisterClassA(&wc);  // fails harmlessly the second time
    window_ = CreateWindowExA(0, wc.lpszClassName, "keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 200,
                              nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetForegroundWindow(window_);
    SetFocus(window_);
  }
  ~KeyWindow() { DestroyWindow(window_); }
  KeyWindow(const KeyWindow&) = delete;
  KeyWindow& operator=(const KeyWindow&) = delete;

  HWND Handle() const { return window_; }
  bool Focused() const { return GetForegroundWindow() == window_; }
  std::vector<std::string> keys;
  std::vector<std::string> mouse;

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<KeyWindow*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (self && (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYUP)) {
      const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
      self->keys.push_back((down ? "down " : "up ") + std::to_string(wp) + "/" + std::to_string((lp >> 16) & 0xFF));
      return 0;
    }
    if (self && (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP)) {
      self->mouse.push_back(msg == WM_RBUTTONDOWN ? "right down" : "right up");
      return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
  }
  HWND window_ = nullptr;
};

}  // namespace pen::test
