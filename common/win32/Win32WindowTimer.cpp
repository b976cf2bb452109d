#include "common/win32/Win32WindowTimer.h"

namespace pen::win32 {

namespace {

constexpr const char* kClassName = "PenWindowTimer";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kStartMessage = WM_APP + 1;  // WPARAM: interval
constexpr UINT kStopMessage = WM_APP + 2;

void RegisterClassOnce() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
}

}  // namespace

Win32WindowTimer::Win32WindowTimer() : thread_(GetCurrentThreadId()) {
  RegisterClassOnce();
  window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window_) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32WindowTimer::WindowProc));
  }
}

Win32WindowTimer::~Win32WindowTimer() {
  if (window_) {
    KillTimer(window_, kTimerId);
    DestroyWindow(window_);
  }
}

void Win32WindowTimer::Start(uint32_t intervalMs) {
  running_.store(true);
  const LPARAM generation = ++generation_;
  if (!window_) return;
  if (GetCurrentThreadId() == thread_) {
    SetTimer(window_, kTimerId, intervalMs, nullptr);
  } else {
    PostMessageA(window_, kStartMessage, intervalMs, generation);
  }
}

void Win32WindowTimer::Stop() {
  running_.store(false);
  const LPARAM generation = ++generation_;
  if (!window_) return;
  if (GetCurrentThreadId() == thread_) {
    KillTimer(window_, kTimerId);
  } else {
    PostMessageA(window_, kStopMessage, 0, generation);
  }
}

LRESULT CALLBACK Win32WindowTimer::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Win32WindowTimer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  switch (msg) {
    // A posted request is carried out only when no later one was made: the
    // last Start or Stop, from whichever thread, decides.
    case kStartMessage:
      if (lp == self->generation_.load()) SetTimer(hwnd, kTimerId, static_cast<UINT>(wp), nullptr);
      return 0;
    case kStopMessage:
      if (lp == self->generation_.load()) KillTimer(hwnd, kTimerId);
      return 0;
    case WM_TIMER:
      if (wp == kTimerId && self->running_.load()) self->onTimer_();
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

}  // namespace pen::win32
