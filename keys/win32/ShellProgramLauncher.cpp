#include "keys/win32/ShellProgramLauncher.h"

#include <shellapi.h>

#include "common/win32/MessageOnlyWindow.h"

namespace pen::win32 {

namespace {
constexpr wchar_t kClassName[] = L"PenProgramLauncher";
constexpr UINT kStartMessage = WM_APP + 1;  // WPARAM verb, LPARAM file
}  // namespace

ShellProgramLauncher::ShellProgramLauncher(uintptr_t ownerWindow) : owner_(reinterpret_cast<HWND>(ownerWindow)) {
  window_ = CreateMessageOnlyWindow(kClassName, &ShellProgramLauncher::WindowProc);
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ShellProgramLauncher::~ShellProgramLauncher() {
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void ShellProgramLauncher::Start(const char* verb, const char* file) {
  if (window_) {
    PostMessageW(window_, kStartMessage, reinterpret_cast<WPARAM>(verb), reinterpret_cast<LPARAM>(file));
  }
}

LRESULT CALLBACK ShellProgramLauncher::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<ShellProgramLauncher*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == kStartMessage && self) {
    // Failures are not reported: the soft key has nobody to tell.
    ShellExecuteA(self->owner_, reinterpret_cast<const char*>(wp), reinterpret_cast<const char*>(lp), nullptr,
                  nullptr, SW_SHOWNORMAL);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace pen::win32
