#pragma once
#include "common/Beeper.h"

namespace pen::win32 {

class Win32Beeper : public IBeeper {
 public:
  void Beep() override;
};

}  // namespace pen::win32
