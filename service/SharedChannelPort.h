#pragma once
#include <cstdint>

#include "pipeline/AreaRecord.h"
#include "pipeline/PenPacket.h"

namespace pen {

// The shared tablet-data channel to the drawing programs, as the host uses it.
class ISharedChannel {
 public:
  virtual ~ISharedChannel() = default;
  virtual void SetArea(const AreaRecord& screenArea) = 0;
  virtual void PublishPacket(const PenPacket& packet) = 0;  // read threads
  // Re-targets to the foreground window (`previous`: the one before it);
  // true when its process is a registered tablet-data client.
  virtual bool SelectForegroundClient(uintptr_t foreground, uintptr_t previous) = 0;
  virtual void RegisterOwnWindow(uintptr_t window) = 0;
  // The channel's own registered messages; false when not one of them.
  virtual bool HandleChannelMessage(uint32_t msg, uint64_t wparam, int64_t lparam, intptr_t& result) = 0;
  // At shut-down: keeps the registered clients for the next start; nothing
  // is published afterwards.
  virtual void Close() = 0;
};

// No drawing program can be reached: nothing is published and no
// foreground program counts as a client.
class TNullSharedChannel final : public ISharedChannel {
 public:
  void SetArea(const AreaRecord&) override {}
  void PublishPacket(const PenPacket&) override {}
  bool SelectForegroundClient(uintptr_t, uintptr_t) override { return false; }
  void RegisterOwnWindow(uintptr_t) override {}
  bool HandleChannelMessage(uint32_t, uint64_t, int64_t, intptr_t&) override { return false; }
  void Close() override {}
};

}  // namespace pen
