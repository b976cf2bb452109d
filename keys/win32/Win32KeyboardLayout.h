#pragma once
#include "keys/KeyboardLayout.h"

namespace pen::win32 {

// The calling thread's keyboard layout (MapVirtualKeyA, VkKeyScanA).
class Win32KeyboardLayout : public IKeyboardLayout {
 public:
  uint32_t MapVirtualKeyCode(uint32_t code, uint32_t mapType) const override;
  uint16_t KeyForChar(char ch) const override;
};

}  // namespace pen::win32
