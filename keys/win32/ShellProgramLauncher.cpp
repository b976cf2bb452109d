#include "keys/win32/ShellProgramLauncher.h"

#include <shellapi.h>

namespace pen::win32 {

namespace {
constexpr const char* kClassName = "PenProgramLauncher";
constexpr UINT kStartMessage = WM_APP + 1;  // WPARAM verb, LPARAM file
}  // namespace

ShellProgramLauncher::ShellProgramLauncher(uintptr_t ownerWindow) : owner_(reinterpret_cast<HWND>(ownerWindow)) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &ShellProgramLauncher::WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);  // fails harmlessly when already registered
  window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ShellProgramLauncher::~ShellProgramLauncher() {
  if (window_) DestroyWindow(window_);
}

void ShellProgramLauncher::Start(const char* verb, const char* file) {
  if (window_) {
    PostMessageA(window_, kStartMessage, reinterpret_cast<WPARAM>(verb), reinterpret_cast<LPARAM>(file));
  }
}

LRESULT CALLBACK ShellProgramLauncher::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<ShellProgramLauncher*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == kStartMessage && self) {
    // Failures are not reported: the soft key has nobody to tell.
    ShellExecuteA(self->owner_, reinterpret_cast<const char*>(wp), reinterpret_cast<const char*>(lp), nullptr,
                  nullptr, SW_SHOWNORMAL);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace pen::win32
