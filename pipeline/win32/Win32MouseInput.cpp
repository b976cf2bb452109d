#include "pipeline/win32/Win32MouseInput.h"

#include <windows.h>

namespace pen::win32 {

void Win32MouseInput::MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data, uintptr_t extraInfo) {
  // mouse_event rather than SendInput: one call per report, move and button
  // edge in the same event, exactly as drawing programs have always seen it.
  mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), data, static_cast<ULONG_PTR>(extraInfo));
}

void Win32MouseInput::KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags, uintptr_t extraInfo) {
  keybd_event(virtualKey, scanCode, flags, static_cast<ULONG_PTR>(extraInfo));
}

}  // namespace pen::win32
