#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "mac/Alerts.h"
#include "mac/ConfigFolder.h"
#include "mac/EventRecord.h"
#include "mac/Geometry.h"
#include "mac/HIDDeviceMonitor.h"
#include "mac/HidManager.h"
#include "mac/KeyDef.h"
#include "mac/MainRunLoop.h"
#include "mac/Notifications.h"
#include "mac/ScreenConfig.h"
#include "mac/Screens.h"
#include "pipeline/ReportLayout.h"

namespace penmac {

// What the model reaches the platform through.
struct USBDelegatePorts {
  IHidManager& hid;             // run by the monitor thread
  INotificationCenter& center;  // main-queue delivery
  IMainRunLoop& runLoop;        // the 0.2 s timer
  IEventPoster& poster;
  IScreens& screens;
  IConfigFolder& files;
  IAlerts& alerts;
};

inline constexpr const char* kTabletDisconnected = "Tablet Disconnected!";
inline constexpr const char* kAlertSource = "penmac/USBDelegate";
inline constexpr double kTimerSeconds = 0.2;

// The application's single model object: owns the HID monitor thread, turns
// every input report of the tablet into input events, keeps the pen state
// between reports, holds the live configuration, and publishes the tablet
// button that key setup waits for. Everything but the monitor thread runs on
// the main thread: the notifications arrive through the main queue and the
// timer runs on the main run loop, so the state needs no lock.
class USBDelegate {
 public:
  // Reports shorter than this are ignored: every reader below looks at bytes
  // up to 14.
  static constexpr size_t kMinReportSize = pen::report_layout::digitizer::kSize;
  static constexpr int64_t kNewFirmware = 0x2201;

  explicit USBDelegate(const USBDelegatePorts& ports);
  ~USBDelegate();
  USBDelegate(const USBDelegate&) = delete;
  USBDelegate& operator=(const USBDelegate&) = delete;

  // The three observers.
  void onPlugin(const Notification& notification);
  void onPlugout(const Notification& notification);
  void onData(const Notification& notification);
  // One tick of the 0.2 s timer.
  void TimerTick();
  // Lets go of everything the model holds down on the system: the keys and
  // mouse buttons of a held button definition, and the pen (its tip, then
  // its proximity). Runs at plug-out (the definition only: the pen is left
  // to the timer) and when the model ends.
  void ReleaseAll();

  // Readers of the report in `bytes`.
  Point AbsPoint() const;
  double AbsPressure() const;
  double Threshold() const;
  uint16_t ButtonBits() const;
  int Wheel() const;
  Point Tilt() const;
  // Mapped position (may move the jitter square), pressure 0..1, tilt -1..1.
  Point ScreenMap();
  double PressureMap() const;
  Point TiltMap() const;

  // Configuration files named after the connected tablet.
  void GetConfig();
  void SetConfig();
  std::string ScreenFileName() const;
  std::string KeysFileName() const;

  // Views write the published fields through these, so that observers hear
  // of it; the model uses them too.
  void SetButtonId(uint16_t value);
  void SetDeviceName(std::string value);
  // Called after a published field (deviceName, version, buttonId) changed.
  std::function<void()> onChange;

  // Fields, in the model's order.
  std::string deviceName{kTabletDisconnected};
  int64_t version = 0;
  std::string productName{"penmac - pen tablet driver"};
  ReportBytes bytes;
  bool isProximity = false;
  Point preLocation;
  double prePressure = 0;
  int64_t dataCount = 0;
  Point preTilt;
  int preMultiMedia = 0;
  Rect gitterRect;
  int64_t clickNum = 1;
  bool isLeft = false;
  bool isRight = false;
  bool isMid = false;
  ScreenConfig screenConfig;
  KeyDefs keyDefs;
  uint16_t buttonId = 0;
  bool keySetup = false;

 private:
  void ProcessReport();
  // A big-endian field of the report in `bytes`.
  double Word(size_t offset) const;
  // Step 1: true when a defined button combination took the report.
  bool ProcessButtons();
  void PressDefinition(const KeyDef& def);
  // Releases the held definition, if any, with the strings it was pressed
  // with.
  void ReleaseHeldDefinition();
  // The pen leaves: its tip goes up first when it was down.
  void PenLeaves();
  void ProcessPen();
  void ShowError(const std::string& error);
  void LoadScreenFile();
  void LoadKeysFile();
  // Reads a file with `decode` (false: not a valid file). Otherwise the
  // in-memory fallback (set and encoded by `encodeFallback`) replaces the
  // file, a defective one being set aside first.
  void LoadOrRepair(const std::string& name, const std::function<bool(std::string_view)>& decode,
                    const std::function<std::string()>& encodeFallback);
  // Moves a defective file aside; false (after an alert) when that failed.
  bool SetAsideDefective(const std::string& name);
  void Changed();

  // The definition whose press was posted and whose release was not yet: a
  // release always undoes exactly what went down, whatever the table or the
  // mask say by then.
  std::optional<KeyDef> heldDefinition_;
  uint16_t heldMask_ = 0;

  USBDelegatePorts ports_;
  HIDMonitor monitor_;
  std::thread rfDeviceDeamon;
  std::optional<ObserverToken> observerPlugIn;
  std::optional<ObserverToken> observerPlugOut;
  std::optional<ObserverToken> observerData;
};

}  // namespace penmac
