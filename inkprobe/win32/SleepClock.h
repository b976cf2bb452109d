#pragma once
#include "common/Clock.h"

namespace pen::win32 {

// The finder's only wait is a plain sleep on the installer's thread; this
// keeps the library free of the service's message-loop clock.
class TSleepClock : public IClock {
 public:
  uint32_t TickCount() override;
  void Sleep(uint32_t ms) override;
  void ProcessMessagesFor(uint32_t ms) override;
};

}  // namespace pen::win32
