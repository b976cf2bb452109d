#include "pipeline/win32/Win32WinEventHook.h"

namespace pen::win32 {

namespace {
// The callback gets only the hook's handle; this finds its owner. Hooks
// are installed and called on the same thread, so no lock is needed, and a
// process has one or two of them at most.
struct Installed {
  HWINEVENTHOOK hook;
  TWin32WinEventHook* owner;
};
Installed g_installed[4] = {};
}  // namespace

bool TWin32WinEventHook::Install(uint32_t firstEvent, uint32_t lastEvent, Event<uint32_t> onEvent) {
  Remove();
  Installed* free = nullptr;
  for (Installed& slot : g_installed) {
    if (slot.hook == nullptr) {
      free = &slot;
      break;
    }
  }
  if (free == nullptr) return false;
  onEvent_ = onEvent;
  hook_ = SetWinEventHook(firstEvent, lastEvent, nullptr, &TWin32WinEventHook::Callback, 0, 0,
                          WINEVENT_OUTOFCONTEXT);
  if (hook_ == nullptr) return false;
  *free = Installed{hook_, this};
  return true;
}

void TWin32WinEventHook::Remove() {
  if (hook_ == nullptr) return;
  UnhookWinEvent(hook_);
  for (Installed& slot : g_installed) {
    if (slot.hook == hook_) slot = Installed{};
  }
  hook_ = nullptr;
}

void CALLBACK TWin32WinEventHook::Callback(HWINEVENTHOOK hook, DWORD event, HWND, LONG, LONG, DWORD, DWORD) {
  for (const Installed& slot : g_installed) {
    if (slot.hook == hook && slot.owner != nullptr) {
      slot.owner->onEvent_(event);
      return;
    }
  }
}

}  // namespace pen::win32
