#include "common/win32/Win32WindowTimer.h"

#include "common/win32/MessageOnlyWindow.h"

namespace pen::win32 {

namespace {

constexpr wchar_t kClassName[] = L"PenWindowTimer";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kStartMessage = WM_APP + 1;  // WPARAM: interval, LPARAM: generation
constexpr UINT kStopMessage = WM_APP + 2;   // LPARAM: generation

}  // namespace

Win32WindowTimer::Win32WindowTimer() : thread_(GetCurrentThreadId()) {
  window_ = CreateMessageOnlyWindow(kClassName, &Win32WindowTimer::WindowProc);
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32WindowTimer::~Win32WindowTimer() {
  if (!window_) return;
  KillTimer(window_, kTimerId);
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void Win32WindowTimer::Start(uint32_t intervalMs) {
  running_.store(true);
  const LPARAM generation = ++generation_;
  if (!window_) return;
  if (GetCurrentThreadId() == thread_) {
    SetTimer(window_, kTimerId, intervalMs, nullptr);
  } else {
    PostMessageW(window_, kStartMessage, intervalMs, generation);
  }
}

void Win32WindowTimer::Stop() {
  running_.store(false);
  const LPARAM generation = ++generation_;
  if (!window_) return;
  if (GetCurrentThreadId() == thread_) {
    KillTimer(window_, kTimerId);
  } else {
    PostMessageW(window_, kStopMessage, 0, generation);
  }
}

LRESULT CALLBACK Win32WindowTimer::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Win32WindowTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
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
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace pen::win32
