#pragma once
#include <cstdint>

namespace pen {

// What pointer emulation reads of the monitors.
struct DisplayGeometry {
  int32_t primaryWidth = 0;
  int32_t primaryHeight = 0;
  int32_t virtualLeft = 0;
  int32_t virtualTop = 0;
  int32_t virtualWidth = 0;
  int32_t virtualHeight = 0;
};

class IDisplayInfo {
 public:
  virtual ~IDisplayInfo() = default;
  // With fewer than two monitors the primary size is monitor 0's, otherwise
  // that of the monitor marked primary; the virtual screen spans them all.
  virtual DisplayGeometry Read() = 0;
};

}  // namespace pen
