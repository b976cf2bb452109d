#pragma once
#include <cstdint>

#include "common/AppFolders.h"
#include "common/Clock.h"
#include "common/IniFile.h"
#include "common/ModalGate.h"
#include "common/Trace.h"
#include "common/WindowPoster.h"
#include "common/WindowTimer.h"
#include "keys/WheelData.h"
#include "keys/WheelFunc.h"
#include "keys/WheelOverlayPort.h"
#include "keys/WheelWindows.h"

namespace pen {

struct WheelUIPorts {
  IIniFileSystem& iniFiles;
  IAppFolders& folders;
  IWindowTimer& stepTimer;
  IWindowTimer& holdTimer;
  ITickSource& ticks;
  IWheelFaces& faces;
  INoticeWindow& notice;
  IWheelSettingsWindow& settingsWindow;  // and, through it, the custom key window
  IForegroundWindows& foreground;
  WheelFunctionPorts function;
  // Where the main thread's loop stands, and the host's window, to which a
  // request to open the settings is posted again when it arrived inside a
  // wait; without them the settings open where the request arrives.
  TModalGate* gate = nullptr;
  IWindowPoster* poster = nullptr;
};

// The controller between the tablet's wheel and what reacts to it: steps run
// the current wheel function (steps within 60 ms merge into one, with the
// last value), a short press of the centre button selects the next function,
// a press of 400 ms opens the wheel settings window, and the notice window
// shows which function acted. Main thread only: the host hands it every
// WM_WHEELUI message, and its timers tick there.
class TWheelUI final : public IWheelOverlay {
 public:
  static constexpr uint32_t kStepMergeMs = 60;
  static constexpr uint32_t kHoldCheckMs = 100;
  static constexpr uint32_t kLongPressMs = 400;

  explicit TWheelUI(const WheelUIPorts& ports);
  ~TWheelUI() override;
  TWheelUI(const TWheelUI&) = delete;
  TWheelUI& operator=(const TWheelUI&) = delete;

  // WM_WHEELUI: WPARAM 1 centre button (LPARAM 1 pressed), 2 a step, 3
  // the settings asked for again (posted by the overlay itself).
  void HandleMessage(uint64_t wparam, int64_t lparam) override;
  void WheelButtonDown();
  void WheelButtonUp();
  void WheelStep(uint8_t value);
  void RefreshFaces() override;
  void SelectNextFunction();
  void OpenWheelSettings();
  // True from the start of the settings window's modal run until it has
  // returned, whatever the window says meanwhile.
  bool SettingsShowing() const;

  TWheelData& Data() { return data_; }
  TWheelFunction& Function() { return function_; }

 private:
  void StepTimerTick();
  void HoldTimerTick();
  bool LongPress();
  void UpdateNotice();
  // Opens the settings now at the top level, else once the thread is back there.
  void RequestWheelSettings();
  void RepostRequest();

  WheelUIPorts p_;
  TWheelData data_;
  TWheelFunction function_;
  uint8_t pendingStep_ = 0;
  bool pressSeen_ = false;
  uint32_t pressTime_ = 0;
  bool settingsOpen_ = false;
};

}  // namespace pen
