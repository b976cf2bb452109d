#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "mac/USBDelegate.h"

namespace penmac {

// The key-setup window's state and rules, without its drawing: the user
// presses the tablet button to define (the model captures its mask into
// buttonId), types the keys, ticks modifiers, mouse buttons and wheel
// directions, and confirms.
class ModiKey {
 public:
  // Keys typed after the key part has grown beyond this many characters are
  // ignored.
  static constexpr size_t kMaxKeyCharacters = 10;

  explicit ModiKey(USBDelegate& usbDevice) : usbDevice(usbDevice) {}

  // When the window is shown: presets the boxes from an existing definition
  // of the current button.
  void OnAppear();
  // A key-down event delivered to the application while the window is open:
  // its virtual key code and the characters it produced.
  void KeyDown(uint16_t keyCode, std::string_view characters);
  void Clear() { keyvalue.clear(); }
  // Stores the definition and ends key setup.
  void Ok();
  // Ends key setup without a change.
  void Cancel();

  // The first line: the prompt, or the captured button.
  std::string Header() const;

  USBDelegate& usbDevice;
  std::string keyvalue;
  std::string mouse;
  bool k0 = false, k1 = false, k2 = false, k3 = false;  // ⌘ ⌥ ⇧ ⌃
  bool mL = false, mM = false, mR = false;
  bool mI = false, mD = false;  // wheel up "+", down "-"
};

// Number of characters (code points) of UTF-8 text.
size_t CharacterCount(std::string_view text);

}  // namespace penmac
