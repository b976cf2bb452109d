#pragma once
#include "common/Clock.h"

namespace pen::win32 {

// GetTickCount and the main thread's waits. ProcessMessagesFor dispatches the
// calling thread's messages until the time has passed, as a modal wait does.
class Win32Clock : public IClock {
 public:
  uint32_t TickCount() override;
  void Sleep(uint32_t ms) override;
  void ProcessMessagesFor(uint32_t ms) override;
  bool Quitting() const override { return quitting_; }

 private:
  bool quitting_ = false;
};

}  // namespace pen::win32
