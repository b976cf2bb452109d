#include "pipeline/win32/Win32DesktopWindows.h"

#include <windows.h>

namespace pen::win32 {

namespace {
HWND Handle(uintptr_t window) { return reinterpret_cast<HWND>(window); }
uintptr_t Word(HWND window) { return reinterpret_cast<uintptr_t>(window); }
}  // namespace

uintptr_t TWin32DesktopWindows::WindowUnderCursor() {
  POINT at{};
  if (!GetCursorPos(&at)) return 0;
  return Word(WindowFromPoint(at));
}

uintptr_t TWin32DesktopWindows::ForegroundWindow() { return Word(GetForegroundWindow()); }

uint32_t TWin32DesktopWindows::ProcessOf(uintptr_t window) {
  DWORD process = 0;
  if (GetWindowThreadProcessId(Handle(window), &process) == 0) return 0;
  return process;
}

bool TWin32DesktopWindows::Exists(uintptr_t window) { return IsWindow(Handle(window)) != FALSE; }

uint32_t TWin32DesktopWindows::OwnProcess() { return GetCurrentProcessId(); }

uint32_t TWin32DesktopWindows::RegisterMessage(const char* name) { return RegisterWindowMessageA(name); }

void TWin32DesktopWindows::AcceptFromLowerIntegrity(uint32_t msg) {
  // Looked up, not imported: systems before Vista have no such call.
  using FilterFn = BOOL(WINAPI*)(UINT, DWORD);
  HMODULE user32 = LoadLibraryA("user32.dll");
  if (user32 == nullptr) return;
  auto filter =
      reinterpret_cast<FilterFn>(reinterpret_cast<void (*)()>(GetProcAddress(user32, "ChangeWindowMessageFilter")));
  if (filter != nullptr) filter(msg, MSGFLT_ADD);
  FreeLibrary(user32);
}

void TWin32DesktopWindows::Notify(uintptr_t window, uint32_t msg, uint64_t wparam, int64_t lparam) {
  SendNotifyMessageA(Handle(window), msg, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

void TWin32DesktopWindows::Post(uintptr_t window, uint32_t msg, uint64_t wparam, int64_t lparam) {
  PostMessageA(Handle(window), msg, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

}  // namespace pen::win32
