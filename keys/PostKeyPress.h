#pragma once
#include <cstdint>

#include "keys/KeyList.h"
#include "pipeline/MouseInput.h"

namespace pen {

// Where synthesised input goes, and the layout that gives its scan codes.
struct SynthPorts {
  IInputInjector& input;
  const IKeyboardLayout& layout;
};

// Presses (`down`) or releases one key definition: modifiers Ctrl, Shift,
// Alt around the key, released in the same order they were pressed. Only
// the low byte of `key` is sent. Callers pair presses with releases and set
// the timing; nothing here waits, allocates or keeps state.
void PostKeyPress(const SynthPorts& to, uint16_t key, ShiftState shift, bool down);

// The mouse half of PostKeyPress, for codes 0..6 (0 and 3 do nothing; the
// wheel codes act on the press only).
void PostMouseAction(const SynthPorts& to, uint16_t code, bool down);

// One wheel notch: +120 up, -121 down.
void PostWheelNotch(const SynthPorts& to, bool up);

constexpr int32_t kWheelNotchUp = 120;
// Not -120: the value every wheel notch of this program has always sent.
constexpr int32_t kWheelNotchDown = -121;

namespace virtual_key {
constexpr uint8_t kShift = 16;
constexpr uint8_t kControl = 17;
constexpr uint8_t kMenu = 18;  // Alt
}  // namespace virtual_key

}  // namespace pen
