#pragma once
#include <cstdint>

namespace pen {

// Synthesised mouse input with the system's own flag values.
namespace mouse_flags {
constexpr uint32_t kMove = 0x0001;
constexpr uint32_t kLeftDown = 0x0002;
constexpr uint32_t kLeftUp = 0x0004;
constexpr uint32_t kRightDown = 0x0008;
constexpr uint32_t kMiddleDown = 0x0020;
constexpr uint32_t kAbsolute = 0x8000;
}  // namespace mouse_flags

class IMouseInput {
 public:
  virtual ~IMouseInput() = default;
  virtual void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data, uintptr_t extraInfo) = 0;
};

}  // namespace pen
