#pragma once
#include <cstdint>

namespace pen {

// The on-screen wheel, as the service host drives it; main thread only.
class IWheelOverlay {
 public:
  virtual ~IWheelOverlay() = default;
  // WM_WHEELUI: WPARAM 1 centre button (LPARAM 1 pressed), 2 a step.
  virtual void HandleMessage(uint64_t wparam, int64_t lparam) = 0;
  // The language was (re)loaded.
  virtual void RefreshFaces() = 0;
};

}  // namespace pen
