#include "pipeline/win32/Win32ChannelTimer.h"

#include "pipeline/win32/MessageOnlyWindow.h"

namespace pen::win32 {

namespace {
constexpr wchar_t kClassName[] = L"PenChannelTimer";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kStartMessage = WM_APP + 0x61;
constexpr UINT kStopMessage = WM_APP + 0x62;
}  // namespace

TWin32ChannelTimer::TWin32ChannelTimer() : thread_(GetCurrentThreadId()) {
  window_ = CreateMessageOnlyWindow(kClassName, &TWin32ChannelTimer::WindowProc);
  if (window_ != nullptr) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TWin32ChannelTimer::~TWin32ChannelTimer() {
  if (window_ == nullptr) return;
  KillTimer(window_, kTimerId);
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void TWin32ChannelTimer::Start(uint32_t ms) {
  if (window_ == nullptr) return;
  if (GetCurrentThreadId() == thread_) {
    SetTimer(window_, kTimerId, ms, nullptr);
  } else {
    PostMessageW(window_, kStartMessage, ms, 0);
  }
}

void TWin32ChannelTimer::Stop() {
  if (window_ == nullptr) return;
  if (GetCurrentThreadId() == thread_) {
    KillTimer(window_, kTimerId);
  } else {
    PostMessageW(window_, kStopMessage, 0, 0);
  }
}

LRESULT CALLBACK TWin32ChannelTimer::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TWin32ChannelTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self != nullptr) {
    switch (msg) {
      case WM_TIMER:
        if (wp == kTimerId) self->onTick_();
        return 0;
      case kStartMessage:
        SetTimer(hwnd, kTimerId, static_cast<UINT>(wp), nullptr);
        return 0;
      case kStopMessage:
        KillTimer(hwnd, kTimerId);
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace pen::win32
