#pragma once
#include <cstdint>

namespace pen {

// The system's keyboard layout, as key synthesis and the key names need it.
class IKeyboardLayout {
 public:
  virtual ~IKeyboardLayout() = default;
  // The system's MapVirtualKeyA: map type 0 gives the scan code of a
  // virtual key (0 when the layout has none), map type 2 its unshifted
  // character (0 for none; bit 31 marks a dead key).
  virtual uint32_t MapVirtualKeyCode(uint32_t code, uint32_t mapType) const = 0;
  // The system's VkKeyScanA: virtual key in the low byte, shift state in the
  // high byte; 0xFFFF when no key gives the character.
  virtual uint16_t KeyForChar(char ch) const = 0;
};

namespace map_type {
constexpr uint32_t kVirtualKeyToScanCode = 0;
constexpr uint32_t kVirtualKeyToChar = 2;
}  // namespace map_type

}  // namespace pen
