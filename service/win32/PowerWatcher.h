#pragma once
#include <windows.h>

#include "common/Event.h"
#include "service/PenHostMain.h"

namespace pen::win32 {

// Monitor power notifications through a hidden utility window.
class TPowerWatcher {
 public:
  TPowerWatcher();
  ~TPowerWatcher();
  TPowerWatcher(const TPowerWatcher&) = delete;
  TPowerWatcher& operator=(const TPowerWatcher&) = delete;

  Event<TMonitorPower> OnMonitorPowerChanged;

  HWND Window() const { return window_; }
  bool Registered() const { return notify_ != nullptr; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool HandlePowerBroadcast(WPARAM wp, LPARAM lp);

  HWND window_ = nullptr;
  HPOWERNOTIFY notify_ = nullptr;
};

}  // namespace pen::win32
