#pragma once
#include <array>
#include <string>
#include <string_view>

#include "mac/USBDelegate.h"

namespace penmac {

// The rotation window's state and rules: a choice among the four angles,
// edited on a copy and written into the live configuration only by "Ok".
class SetupRotate {
 public:
  static constexpr std::array<std::string_view, 4> angle{kRotation0, kRotation90, kRotation180, kRotation270};

  explicit SetupRotate(USBDelegate& usbDelegate) : usbDelegate(usbDelegate) {}

  // When the view is shown: starts from the rotation in force.
  void OnAppear() { rotate = usbDelegate.screenConfig.Rotation; }
  std::string MenuLabel() const;
  std::string ItemLabel(size_t index) const;
  void Choose(size_t index);
  void Ok() { usbDelegate.screenConfig.Rotation = rotate; }
  void Cancel() {}

  USBDelegate& usbDelegate;
  std::string rotate{kRotation0};
};

}  // namespace penmac
