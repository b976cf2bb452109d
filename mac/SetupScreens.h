#pragma once
#include <string>
#include <vector>

#include "mac/USBDelegate.h"

namespace penmac {

// The screen window's state and rules: the whole desktop or one screen,
// edited on a copy and written into the live configuration only by "Ok".
class SetupScreens {
 public:
  SetupScreens(USBDelegate& usbDelegate, IScreens& screens) : usbDelegate(usbDelegate), screens_(screens) {}

  // When the view is shown: the rectangle takes in every screen, so a fresh
  // window starts on the whole desktop.
  void OnAppear();
  std::string MenuLabel() const;
  // The whole desktop first, then one item per screen in the system's order.
  std::vector<std::string> ItemLabels() const;
  void Choose(size_t item);
  // The desktop's screens changed while the window is open: a chosen screen
  // that is still there keeps its (possibly moved) frame; otherwise the
  // choice is the whole desktop as it is now, so that "Ok" never maps the
  // tablet onto a screen that has gone.
  void ScreensChanged();
  void Ok() { usbDelegate.screenConfig.Rect = curRect; }
  void Cancel() {}

  USBDelegate& usbDelegate;
  std::string curScreen{"Multi-Screen"};
  Rect curRect;

 private:
  IScreens& screens_;
};

}  // namespace penmac
