#pragma once
#include <cstdint>

namespace pen {

// Synthesised mouse input with the system's own flag values.
namespace mouse_flags {
constexpr uint32_t kMove = 0x0001;
constexpr uint32_t kLeftDown = 0x0002;
constexpr uint32_t kLeftUp = 0x0004;
constexpr uint32_t kRightDown = 0x0008;
constexpr uint32_t kRightUp = 0x0010;
constexpr uint32_t kMiddleDown = 0x0020;
constexpr uint32_t kMiddleUp = 0x0040;
constexpr uint32_t kWheel = 0x0800;
constexpr uint32_t kAbsolute = 0x8000;
}  // namespace mouse_flags

class IMouseInput {
 public:
  virtual ~IMouseInput() = default;
  virtual void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data, uintptr_t extraInfo) = 0;
};

// Synthesised keyboard input, flags in the system's own values.
namespace key_flags {
constexpr uint32_t kKeyUp = 0x0002;
}  // namespace key_flags

// Mouse and keyboard together: what the tablet keys, the pen buttons and
// the wheel functions send.
class IInputInjector : public IMouseInput {
 public:
  virtual void KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags, uintptr_t extraInfo) = 0;
};

}  // namespace pen
