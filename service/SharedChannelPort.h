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
  // Re-targets to the foreground window; true when its process is a
  // registered tablet-data client.
  virtual bool SelectForegroundClient(uintptr_t foregroundWindow) = 0;
  virtual void RegisterOwnWindow(uintptr_t window) = 0;
  // The channel's own registered messages; false when not one of them.
  virtual bool HandleChannelMessage(uint32_t msg, uint64_t wparam, int64_t lparam, intptr_t& result) = 0;
};

// No drawing program can be reached yet: nothing is published and no
// foreground program counts as a client.
class TNullSharedChannel final : public ISharedChannel {
 public:
  void SetArea(const AreaRecord&) override {}
  void PublishPacket(const PenPacket&) override {}
  bool SelectForegroundClient(uintptr_t) override { return false; }
  void RegisterOwnWindow(uintptr_t) override {}
  bool HandleChannelMessage(uint32_t, uint64_t, int64_t, intptr_t&) override { return false; }
};

}  // namespace pen
