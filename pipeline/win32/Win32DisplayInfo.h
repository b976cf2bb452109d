#pragma once
#include "pipeline/DisplayGeometry.h"

namespace pen::win32 {

// Monitor sizes from EnumDisplayMonitors, the virtual screen from GetSystemMetrics.
class Win32DisplayInfo : public IDisplayInfo {
 public:
  DisplayGeometry Read() override;
};

}  // namespace pen::win32
