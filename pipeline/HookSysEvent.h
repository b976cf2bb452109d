#pragma once
#include <atomic>
#include <cstdint>

#include "pipeline/DesktopWindows.h"
#include "pipeline/ForegroundWatchPort.h"
#include "pipeline/WinEventSource.h"

namespace pen {

// The foreground window watch: one system-wide window-event hook that keeps
// the last two foreground windows and posts the service command for a
// foreground change to the service window each time the foreground changes.
//
// Threads: the hook's events arrive on the main thread (the one that made
// the watch) while it pumps messages. The recorded windows and the change
// flag are single atomic words; the HID read threads read the flag and clear
// it.
class TMyHook final : public IForegroundWatch {
 public:
  static constexpr uint32_t kEventForeground = 3;     // EVENT_SYSTEM_FOREGROUND
  static constexpr uint32_t kEventCaptureStart = 8;   // EVENT_SYSTEM_CAPTURESTART
  static constexpr uint32_t kEventMinimizeEnd = 23;   // EVENT_SYSTEM_MINIMIZEEND
  // What the service window takes as "the foreground changed": its service
  // command message with the command code in lParam and the window in wParam.
  static constexpr uint32_t kServiceCommandMessage = 0x0400 + 101;
  static constexpr int64_t kForegroundCommand = 11;

  // Installs the hook and records the current foreground window.
  TMyHook(IWinEventSource& events, IDesktopWindows& windows);
  ~TMyHook() override;
  TMyHook(const TMyHook&) = delete;
  TMyHook& operator=(const TMyHook&) = delete;

  // The window that receives the command; none until set.
  void SetCommandTarget(uintptr_t window) { commandTarget_.store(window, std::memory_order_relaxed); }
  // The hook's callback.
  void OnWinEvent(uint32_t event);
  // Removes the hook; events stop arriving.
  void Unhook() override;

  bool Installed() const { return installed_; }
  uintptr_t RecordedForeground() const override { return foreground_.load(std::memory_order_relaxed); }
  uintptr_t RecordedPrevious() const override { return previous_.load(std::memory_order_relaxed); }
  bool ForegroundChanged() const { return changed_.load(std::memory_order_relaxed); }
  // Clears the flag; true when it was set, so only one reader acts on it.
  bool TakeForegroundChanged() override { return changed_.exchange(false, std::memory_order_relaxed); }
  void ClearForegroundChanged() override { changed_.store(false, std::memory_order_relaxed); }

 private:
  IWinEventSource& events_;
  IDesktopWindows& windows_;
  bool installed_ = false;
  std::atomic<uintptr_t> foreground_{0};
  std::atomic<uintptr_t> previous_{0};
  std::atomic<uintptr_t> commandTarget_{0};
  std::atomic<bool> changed_{false};
};

}  // namespace pen
