#pragma once
#include "pipeline/MouseInput.h"

namespace pen::win32 {

// The system's mouse_event and keybd_event: absolute coordinates are
// 0..65535 over the primary monitor, flags in the system's own values.
class Win32MouseInput : public IInputInjector {
 public:
  void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data, uintptr_t extraInfo) override;
  void KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags, uintptr_t extraInfo) override;
};

}  // namespace pen::win32
