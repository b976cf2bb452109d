#pragma once
#include <cstdint>

#include "common/Event.h"

namespace pen {

// System-wide window events (foreground, capture, minimise and the rest of
// the system range), delivered on the thread that installed the hook while
// it pumps messages.
class IWinEventSource {
 public:
  virtual ~IWinEventSource() = default;
  // False when the system refused the hook.
  virtual bool Install(uint32_t firstEvent, uint32_t lastEvent, Event<uint32_t> onEvent) = 0;
  virtual void Remove() = 0;
};

}  // namespace pen
