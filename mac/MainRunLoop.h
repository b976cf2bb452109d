#pragma once
#include <functional>

namespace penmac {

// The main thread's run loop as the model needs it: a repeating timer whose
// ticks run on the main thread. A tick that was missed while the thread was
// busy is not made up for.
class IMainRunLoop {
 public:
  virtual ~IMainRunLoop() = default;
  virtual void ScheduleRepeatingTimer(double seconds, std::function<void()> tick) = 0;
};

}  // namespace penmac
