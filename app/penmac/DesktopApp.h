#pragma once
#include <functional>
#include <memory>

#include "mac/Geometry.h"
#include "mac/NotificationCenter.h"
#include "mac/USBDelegate.h"
#include "mac/linux/EpollMainLoop.h"
#include "mac/qt/QtAlerts.h"

class QApplication;

namespace penmac::qt {
class QtScreens;
}

namespace penmac::linux_layer {

// True when a desktop's display is there to show the status item on.
bool HasDisplay();

// penmac as a desktop application: the status item with its menu and
// windows, alerts as message boxes, the desktop's live screens. Qt's event
// loop runs the main thread; the driver's own main loop (signals, the
// model's timer, notifications from the HID thread, the logind session)
// sits behind one descriptor that Qt watches, so both sleep together and
// nothing polls.
//
// Construct after the EpollMainLoop (which blocks the ending signals for
// every thread, Qt's own included) and before the model.
class DesktopApp {
 public:
  DesktopApp();
  ~DesktopApp();
  DesktopApp(const DesktopApp&) = delete;
  DesktopApp& operator=(const DesktopApp&) = delete;

  IScreens& Screens();
  IAlerts& Alerts() { return alerts_; }
  // All screens together, where the pen device's axes come from.
  Rect DesktopInEventSpace() const;

  // Runs first when the screens changed (the pen device follows the
  // desktop); an open screen window hears of it afterwards.
  std::function<void()> onScreensChanged;
  // Under --verbose: the rows of the menu each time it opens, and changes.
  bool verbose = false;

  // Until "Exit Driver!" is confirmed, a signal or the time limit; the exit
  // status.
  int Run(EpollMainLoop& loop, USBDelegate& delegate, INotificationCenter& center);

 private:
  int argc_ = 1;
  char name_[8] = "penmac";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
  std::unique_ptr<qt::QtScreens> screens_;
  qt::QtAlerts alerts_;
};

}  // namespace penmac::linux_layer
