#pragma once
#include <cstdint>

#include "common/Event.h"

namespace pen {

// A periodic timer whose ticks run on the main thread, like a window timer.
// Start and Stop may be called from any thread; a tick that was already on
// its way when Stop was called may still arrive, so handlers check their own
// state instead of trusting that the timer is running.
class IWindowTimer {
 public:
  virtual ~IWindowTimer() = default;
  // The handler of every tick; set once, before the timer is first started.
  virtual void SetOnTimer(Event<> handler) = 0;
  // Starts counting `intervalMs` from now, also when it was running already.
  virtual void Start(uint32_t intervalMs) = 0;
  virtual void Stop() = 0;
  virtual bool Running() const = 0;
};

}  // namespace pen
