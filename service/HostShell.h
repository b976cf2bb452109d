#pragma once
#include <cstdint>
#include <string>

#include "common/Trace.h"
#include "common/WindowPoster.h"

namespace pen {

// The tray icon: index 0 = tablet connected, 1 = no tablet.
class ITrayIcon {
 public:
  virtual ~ITrayIcon() = default;
  virtual bool Enabled() const = 0;
  // Adds the icon to the notification area; false when the shell refuses.
  virtual bool Enable() = 0;
  virtual int Index() const = 0;
  virtual void SetIndex(int index) = 0;
  virtual void SetTexts(const std::string& hint, const std::string& showItem, const std::string& stopItem) = 0;
};

// What the host asks of its own window and of the desktop.
class IHostShell {
 public:
  virtual ~IHostShell() = default;
  virtual uintptr_t OwnWindow() const = 0;
  // Posted to the own window; safe from any thread.
  virtual void PostToSelf(uint32_t msg, uint64_t wparam, int64_t lparam) = 0;
  virtual void PostQuit() = 0;
  // Warning box with OK and Cancel; true unless the answer is Cancel.
  virtual bool ConfirmStop(const std::string& caption, const std::string& text) = 0;
  virtual void StartDisplayChangeTimer() = 0;
  virtual void StopDisplayChangeTimer() = 0;
  // False while the monitor set is still settling after a display change.
  virtual bool MonitorsSettled() = 0;
  virtual void StartTrayTimer() = 0;
  virtual void StopTrayTimer() = 0;
};

// The host's own window, for the button manager's wheel-button message.
class TShellPoster final : public IWindowPoster {
 public:
  explicit TShellPoster(IHostShell& shell) : shell_(shell) {}
  void Post(uint32_t msg, uint64_t wparam, int64_t lparam) override { shell_.PostToSelf(msg, wparam, lparam); }

 private:
  IHostShell& shell_;
};

}  // namespace pen

namespace pen {

// The host's trace is the program-wide one (the keys code writes to it too).
class IHostTrace : public ITrace {};

}  // namespace pen
