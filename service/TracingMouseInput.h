#pragma once
#include <cstdio>

#include "pipeline/MouseInput.h"
#include "service/HostShell.h"

namespace pen {

// Passes synthesised input on and notes each move, click, wheel notch and key.
class TTracingMouseInput final : public IInputInjector {
 public:
  TTracingMouseInput(IInputInjector& inner, IHostTrace& trace) : inner_(inner), trace_(trace) {}

  void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data, uintptr_t extraInfo) override {
    inner_.MouseEvent(flags, dx, dy, data, extraInfo);
    char line[96];
    if (flags & mouse_flags::kMove) {
      std::snprintf(line, sizeof line, "pointer move to %d, %d (of 65535)%s", static_cast<int>(dx),
                    static_cast<int>(dy), (flags & mouse_flags::kAbsolute) ? "" : " relative");
      trace_.Line(line);
    }
    if (flags & mouse_flags::kLeftDown) trace_.Line("left button down");
    if (flags & mouse_flags::kLeftUp) trace_.Line("left button up");
    if (flags & mouse_flags::kRightDown) trace_.Line("right button down");
    if (flags & mouse_flags::kRightUp) trace_.Line("right button up");
    if (flags & mouse_flags::kMiddleDown) trace_.Line("middle button down");
    if (flags & mouse_flags::kMiddleUp) trace_.Line("middle button up");
    if (flags & mouse_flags::kWheel) {
      std::snprintf(line, sizeof line, "wheel notch %+d", static_cast<int>(static_cast<int32_t>(data)));
      trace_.Line(line);
    }
  }

  void KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags, uintptr_t extraInfo) override {
    inner_.KeybdEvent(virtualKey, scanCode, flags, extraInfo);
    char line[64];
    std::snprintf(line, sizeof line, "key %s: virtual key %u, scan code %u", (flags & key_flags::kKeyUp) ? "up" : "down",
                  virtualKey, scanCode);
    trace_.Line(line);
  }

 private:
  IInputInjector& inner_;
  IHostTrace& trace_;
};

}  // namespace pen
