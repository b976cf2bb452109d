#include "service/win32/Win32HostShell.h"

#include <string>

#include "pipeline/SharedBlockLayout.h"
#include "service/HostMessages.h"
#include "service/PenHostMain.h"

namespace pen::win32 {

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

TWin32HostShell::TWin32HostShell() = default;

TWin32HostShell::~TWin32HostShell() { Destroy(); }

bool TWin32HostShell::Create() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = &TWin32HostShell::WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);  // a second shell in the same process reuses the class
  // Known before the window exists: a client may register the moment it
  // can find the window, long before the host is attached.
  held_.Watch(RegisterWindowMessageA(tabshare::kMessageAName));
  held_.Watch(RegisterWindowMessageA(tabshare::kMessageBName));
  held_.Watch(host_msg::kWheelUi);
  // A tool window that is never shown: no taskbar button, but still a
  // top-level window that FindWindowA and broadcasts reach.
  window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, kCaption, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            instance, this);
  if (!window_) return false;
  // Other programs, possibly at a lower integrity level, post these.
  for (UINT msg : {host_msg::kShowSettings, host_msg::kServiceCommand, host_msg::kSetRotation}) {
    ChangeWindowMessageFilter(msg, MSGFLT_ADD);
  }
  StartTrayTimer();
  return true;
}

void TWin32HostShell::Destroy() {
  if (window_) {
    HWND w = window_;
    DestroyWindow(w);
    window_ = nullptr;
  }
}

void TWin32HostShell::CloseAfter(uint32_t ms) {
  if (window_ && ms > 0) SetTimer(window_, kExitTimer, ms, nullptr);
}

LRESULT CALLBACK TWin32HostShell::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    // Messages arrive before CreateWindowEx returns the handle.
    static_cast<TWin32HostShell*>(cs->lpCreateParams)->window_ = hwnd;
  }
  auto* self = reinterpret_cast<TWin32HostShell*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  return self->Handle(msg, wp, lp);
}

LRESULT TWin32HostShell::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && host_) {
    switch (wp) {
      case kTrayTimer: host_->TrayIconTimerTick(); return 0;
      case kDisplayTimer: host_->DisplayChangeTimerTick(); return 0;
      case kExitTimer:
        KillTimer(window_, kExitTimer);
        PostMessageA(window_, WM_CLOSE, 0, 0);
        return 0;
      default: break;
    }
  }
  if (msg == WM_NCDESTROY) SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  // The objects made before the host (the device link's start can wait over
  // a second with messages running) must not lose a display change: the
  // timer keeps ticking until the host is there to re-read the monitors.
  if (msg == WM_DISPLAYCHANGE && !host_) StartDisplayChangeTimer();
  if (!host_ && held_.Hold(msg, static_cast<uint64_t>(wp), static_cast<int64_t>(lp))) return 0;
  if (host_) {
    intptr_t result = 0;
    if (host_->HandleMessage(msg, static_cast<uint64_t>(wp), static_cast<int64_t>(lp), result)) {
      return static_cast<LRESULT>(result);
    }
  }
  return DefWindowProcA(window_, msg, wp, lp);
}

void TWin32HostShell::HandOverHeld() {
  if (!host_) return;
  held_.HandOver([this](const THeldMessages::Message& m) {
    intptr_t result = 0;
    host_->HandleMessage(m.msg, m.wparam, m.lparam, result);
  });
}

void TWin32HostShell::PostToSelf(uint32_t msg, uint64_t wparam, int64_t lparam) {
  PostMessageA(window_, msg, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

void TWin32HostShell::PostQuit() { PostQuitMessage(0); }

bool TWin32HostShell::ConfirmStop(const std::string& caption, const std::string& text) {
  const std::wstring c = Widen(caption), t = Widen(text);
  return MessageBoxW(nullptr, t.c_str(), c.c_str(), MB_ICONWARNING | MB_OKCANCEL) != IDCANCEL;
}

void TWin32HostShell::StartDisplayChangeTimer() {
  if (window_) SetTimer(window_, kDisplayTimer, kDisplaySettleMs, nullptr);
}
void TWin32HostShell::StopDisplayChangeTimer() {
  if (window_) KillTimer(window_, kDisplayTimer);
}
void TWin32HostShell::StartTrayTimer() {
  if (window_) SetTimer(window_, kTrayTimer, kTrayRetryMs, nullptr);
}
void TWin32HostShell::StopTrayTimer() {
  if (window_) KillTimer(window_, kTrayTimer);
}

bool TWin32HostShell::MonitorsSettled() {
  // While monitors come and go there may briefly be none.
  return GetSystemMetrics(SM_CMONITORS) > 0;
}

}  // namespace pen::win32
