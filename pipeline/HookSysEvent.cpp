#include "pipeline/HookSysEvent.h"

namespace pen {

TMyHook::TMyHook(IWinEventSource& events, IDesktopWindows& windows) : events_(events), windows_(windows) {
  installed_ = events_.Install(kEventForeground, kEventMinimizeEnd, Event<uint32_t>::Bind<&TMyHook::OnWinEvent>(this));
  foreground_.store(windows_.ForegroundWindow(), std::memory_order_relaxed);
}

TMyHook::~TMyHook() { Unhook(); }

void TMyHook::Unhook() {
  if (!installed_) return;
  installed_ = false;
  events_.Remove();
}

void TMyHook::OnWinEvent(uint32_t event) {
  if (event == kEventMinimizeEnd) {
    // A restored window may take the foreground without a foreground event.
    changed_.store(true, std::memory_order_relaxed);
    return;
  }
  if (event != kEventForeground && event != kEventCaptureStart) return;
  // Read fresh: repeated events while one window keeps the foreground post
  // nothing.
  const uintptr_t now = windows_.ForegroundWindow();
  const uintptr_t recorded = foreground_.load(std::memory_order_relaxed);
  if (now == recorded) return;
  changed_.store(true, std::memory_order_relaxed);
  previous_.store(recorded, std::memory_order_relaxed);
  foreground_.store(now, std::memory_order_relaxed);
  if (const uintptr_t target = commandTarget_.load(std::memory_order_relaxed)) {
    windows_.Post(target, kServiceCommandMessage, now, kForegroundCommand);
  }
}

}  // namespace pen
