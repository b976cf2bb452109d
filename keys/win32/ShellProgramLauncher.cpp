#include "keys/win32/ShellProgramLauncher.h"

#include <shellapi.h>

#include <cstring>

#include "common/win32/MessageOnlyWindow.h"

namespace pen::win32 {

namespace {
constexpr wchar_t kClassName[] = L"PenProgramLauncher";

void ShellStart(HWND owner, const char* verb, const char* file) {
  // Failures are not reported: the soft key has nobody to tell.
  ShellExecuteA(owner, verb, file, nullptr, nullptr, SW_SHOWNORMAL);
}

bool SameText(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return std::strcmp(a, b) == 0;
}
}  // namespace

ShellProgramLauncher::ShellProgramLauncher(uintptr_t ownerWindow, Execute execute)
    : owner_(reinterpret_cast<HWND>(ownerWindow)), execute_(execute ? execute : &ShellStart) {
  window_ = CreateMessageOnlyWindow(kClassName, &ShellProgramLauncher::WindowProc);
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ShellProgramLauncher::~ShellProgramLauncher() {
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void ShellProgramLauncher::Start(const char* verb, const char* file) {
  if (!window_) return;
  for (size_t i = 0; i < kProgramCount; ++i) {
    if (SameText(kPrograms[i].verb, verb) && SameText(kPrograms[i].file, file)) {
      PostMessageW(window_, kStartMessage, static_cast<WPARAM>(i), 0);
      return;
    }
  }
}

LRESULT CALLBACK ShellProgramLauncher::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<ShellProgramLauncher*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == kStartMessage) {
    // Whoever posted it, only a place in the list is taken from it.
    if (self && wp < kProgramCount) self->execute_(self->owner_, kPrograms[wp].verb, kPrograms[wp].file);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace pen::win32
