#pragma once
#include <cstdint>

#include "pipeline/AreaRecord.h"
#include "pipeline/PenPacket.h"

namespace pen {

// The shared tablet-data channel to the drawing programs, as the service
// host drives it.
class ISharedChannel {
 public:
  virtual ~ISharedChannel() = default;
  virtual void SetArea(const AreaRecord& screenArea) = 0;
  virtual void PublishPacket(const PenPacket& packet) = 0;  // read threads
  // Re-targets to the foreground window (`previous`: the one before it);
  // true when its process is a registered tablet-data client.
  virtual bool SelectForegroundClient(uintptr_t foreground, uintptr_t previous) = 0;
  virtual void RegisterOwnWindow(uintptr_t window) = 0;
  // The channel's own registered messages, answered with 0; false when not
  // one of them.
  virtual bool HandleChannelMessage(uint32_t msg, uint64_t wparam, int64_t lparam) = 0;
  // At shut-down: keeps the registered clients for the next start; nothing
  // is published afterwards.
  virtual void Close() = 0;
};

}  // namespace pen
