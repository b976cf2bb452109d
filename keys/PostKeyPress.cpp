#include "keys/PostKeyPress.h"

namespace pen {

namespace {

void SendKey(const SynthPorts& to, uint8_t vk, bool down) {
  // The extended-key flag is never set, also not for the arrow and page keys:
  // programs have always received them this way from the tablet.
  const uint8_t scan = static_cast<uint8_t>(to.layout.MapVirtualKeyCode(vk, map_type::kVirtualKeyToScanCode));
  to.input.KeybdEvent(vk, scan, down ? 0 : key_flags::kKeyUp, 0);
}

void SendModifiers(const SynthPorts& to, ShiftState shift, bool down) {
  if (shift & shift_state::kCtrl) SendKey(to, virtual_key::kControl, down);
  if (shift & shift_state::kShift) SendKey(to, virtual_key::kShift, down);
  if (shift & shift_state::kAlt) SendKey(to, virtual_key::kMenu, down);
}

void SendMainKey(const SynthPorts& to, uint16_t key, bool down) {
  if (key == key_code::kModifiersOnly) return;
  if (key <= key_code::kLastMouseAction) {
    PostMouseAction(to, key, down);
  } else {
    SendKey(to, static_cast<uint8_t>(key & 0xFF), down);
  }
}

}  // namespace

void PostKeyPress(const SynthPorts& to, uint16_t key, ShiftState shift, bool down) {
  if (down) {
    SendModifiers(to, shift, true);
    SendMainKey(to, key, true);
  } else {
    SendMainKey(to, key, false);
    SendModifiers(to, shift, false);
  }
}

void PostMouseAction(const SynthPorts& to, uint16_t code, bool down) {
  uint32_t flags = 0;
  switch (code) {
    case key_code::kMouseLeft: flags = down ? mouse_flags::kLeftDown : mouse_flags::kLeftUp; break;
    case key_code::kMouseRight: flags = down ? mouse_flags::kRightDown : mouse_flags::kRightUp; break;
    case key_code::kMouseMiddle: flags = down ? mouse_flags::kMiddleDown : mouse_flags::kMiddleUp; break;
    case key_code::kWheelUp:
    case key_code::kWheelDown:
      if (down) PostWheelNotch(to, code == key_code::kWheelUp);
      return;
    default: return;
  }
  to.input.MouseEvent(flags, 0, 0, 0, 0);
}

void PostWheelNotch(const SynthPorts& to, bool up) {
  const int32_t data = up ? kWheelNotchUp : kWheelNotchDown;
  to.input.MouseEvent(mouse_flags::kWheel, 0, 0, static_cast<uint32_t>(data), 0);
}

}  // namespace pen
