#include "keys/win32/Win32KeyboardLayout.h"

#include <windows.h>

namespace pen::win32 {

uint32_t Win32KeyboardLayout::MapVirtualKeyCode(uint32_t code, uint32_t mapType) const {
  return MapVirtualKeyA(code, mapType);
}

uint16_t Win32KeyboardLayout::KeyForChar(char ch) const { return static_cast<uint16_t>(VkKeyScanA(ch)); }

}  // namespace pen::win32
