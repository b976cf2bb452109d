#pragma once
#include "keys/WheelWindows.h"

namespace pen::win32 {

class Win32ForegroundWindows : public IForegroundWindows {
 public:
  uintptr_t Foreground() override;
  void SetForeground(uintptr_t window) override;
};

}  // namespace pen::win32
