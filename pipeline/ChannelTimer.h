#pragma once
#include <cstdint>

#include "common/Event.h"

namespace pen {

// A timer whose ticks run on the main thread. Start and Stop may be called
// from any thread; Start replaces a running period.
class IChannelTimer {
 public:
  virtual ~IChannelTimer() = default;
  virtual void SetHandler(Event<> onTick) = 0;
  virtual void Start(uint32_t ms) = 0;
  virtual void Stop() = 0;
};

}  // namespace pen
