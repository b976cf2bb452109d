#pragma once
#include <cstdio>

#include "pipeline/MouseInput.h"
#include "service/HostShell.h"

namespace pen {

// Passes synthesised mouse input on and notes each move and click.
class TTracingMouseInput final : public IMouseInput {
 public:
  TTracingMouseInput(IMouseInput& inner, IHostTrace& trace) : inner_(inner), trace_(trace) {}

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
  }

 private:
  IMouseInput& inner_;
  IHostTrace& trace_;
};

}  // namespace pen
