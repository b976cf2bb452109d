#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "common/Clock.h"
#include "keys/ButtonManagerPort.h"
#include "keys/WheelOverlayPort.h"
#include "pipeline/ForegroundWatchPort.h"
#include "pipeline/HostPointer.h"
#include "pipeline/SharedChannelPort.h"
#include "service/HostDeviceLink.h"
#include "service/HostShell.h"
#include "service/LanguageTexts.h"
#include "service/SettingsStore.h"
#include "service/SettingsWindowPort.h"

namespace pen {

enum class TMonitorPower { PoOff, PoOn };

// The long-lived objects the host routes between. It owns none of them.
// The pipeline's and the keys' objects are themselves what the host drives
// (TUsbComm excepted: its link adds the trace); the windows, the tray and the
// shell live on floors above and are reached through their interfaces.
struct HostParts {
  ISettingsStore& settings;
  IHostDeviceLink& device;
  IHostPointer& pointer;
  IHostSmoothing& smoothing;
  ISharedChannel& channel;
  IForegroundWatch& foreground;
  IButtonManager& buttons;
  IWheelOverlay& wheel;
  ISettingsWindow* window;  // null while no settings window exists
  ILanguageTexts& texts;
  ITrayIcon& tray;
  IHostShell& shell;
  IClock& clock;
  IHostTrace* trace;  // null unless tracing
};

// The hub of the service: service commands, report routing and the
// report-mode policy.
//
// Threads: everything runs on the main thread except OnPenPacket and
// OnDigitizerReport, which run on the two HID read threads once direct
// delivery is on. Those two are serialised against each other by reportLock_,
// because both feed the one smoothing filter (which has no lock of its own
// and relies on this one) and the button manager; the main thread takes the
// same lock only around its stores into pointer emulation and the smoothing
// filter, never across a feature report, device memory or a message pump, so
// a read thread waits at most for a few stores.
// A read thread never sends a feature report: when a hover packet finds the
// foreground changed it posts kForegroundRecheck to the main thread instead.
class TPenHostMain {
 public:
  static constexpr const char* kServiceVersion = "SVer: 4.6.1.222";
  static constexpr int32_t kPressBase = 1450;

  explicit TPenHostMain(const HostParts& parts);
  ~TPenHostMain();
  TPenHostMain(const TPenHostMain&) = delete;
  TPenHostMain& operator=(const TPenHostMain&) = delete;

  // The host's part of window creation, after every object exists: flags,
  // device callbacks (the connection handler runs at once), smoothing level,
  // language. From here on the window procedure handles every message.
  void Start();

  // The window procedure; false means default processing.
  bool HandleMessage(uint32_t msg, uint64_t wparam, int64_t lparam, intptr_t& result);

  void OnServiceCommand(int64_t code, uint64_t wparam);
  void OnConnectChange(bool connected);
  void OnPenPacket(const uint8_t* data, size_t size);
  void OnDigitizerReport(const uint8_t* data, size_t size);
  void OnMonitorPowerChanged(TMonitorPower power);

  void ApplySettings();
  void PushAreas();
  void LoadSetting();
  void LoadLanguage();
  void UpdateModeForForeground();
  void MenuShowClick();
  void MenuStopserviceClick();
  void ShutdownPipeline();

  // Timer ticks; they return whether the timer keeps running.
  bool TrayIconTimerTick();
  bool DisplayChangeTimerTick();

  bool TabletConnected() const { return tabletConnected_.load(std::memory_order_relaxed); }
  bool MonitorWasOff() const { return monitorWasOff_; }
  uintptr_t CurrentForeground() const { return currentForeground_; }
  uintptr_t PreviousForeground() const { return previousForeground_; }

 private:
  void SetRotation(uint64_t wparam);
  void SetPressure(uint64_t wparam);
  void ApplyScreenArea();
  void ApplyTabletArea();
  void SetLeftHand(bool on);
  void ForegroundChange(uint64_t wparam);
  void SendModeUnlessSent(uint8_t mode);
  void Trace(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));

  HostParts p_;
  bool started_ = false;
  bool connectState_ = false;  // the state the last transition acted on
  uint32_t transitions_ = 0;   // counts them, so a nested one is noticed
  bool showing_ = false;       // MenuShowClick under way
  bool monitorWasOff_ = false;
  std::atomic<bool> tabletConnected_{false};
  uintptr_t currentForeground_ = 0;
  uintptr_t previousForeground_ = 0;
  std::mutex reportLock_;
  int32_t previousPressure_ = 0;  // Q: interface A's pressure history
  uint32_t reportsA_ = 0;
  uint32_t reportsB_ = 0;
};

}  // namespace pen
