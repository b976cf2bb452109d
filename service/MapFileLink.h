#pragma once
#include "pipeline/HookSysEvent.h"
#include "pipeline/MapFile.h"
#include "service/ForegroundWatchPort.h"
#include "service/HostMessages.h"
#include "service/SharedChannelPort.h"

namespace pen {

// The shared channel as the host drives it.
class TMapFileLink final : public ISharedChannel {
 public:
  explicit TMapFileLink(TMapFile& channel) : channel_(channel) {}
  void SetArea(const AreaRecord& area) override { channel_.SetArea(area); }
  void PublishPacket(const PenPacket& packet) override { channel_.PublishPacket(packet); }
  bool SelectForegroundClient(uintptr_t foreground, uintptr_t previous) override {
    return channel_.SelectForegroundClient(foreground, previous);
  }
  void RegisterOwnWindow(uintptr_t window) override { channel_.RegisterOwnWindow(window); }
  bool HandleChannelMessage(uint32_t msg, uint64_t wparam, int64_t lparam, intptr_t& result) override {
    result = 0;
    return channel_.HandleChannelMessage(msg, wparam, lparam);
  }
  void Close() override { channel_.Close(); }

 private:
  TMapFile& channel_;
};

// The foreground watch as the host reads it.
class TMyHookLink final : public IForegroundWatch {
  static_assert(TMyHook::kServiceCommandMessage == host_msg::kServiceCommand);
  static_assert(TMyHook::kForegroundCommand == host_cmd::kForegroundChange);

 public:
  explicit TMyHookLink(TMyHook& hook) : hook_(hook) {}
  uintptr_t Foreground() const override { return hook_.RecordedForeground(); }
  uintptr_t Previous() const override { return hook_.RecordedPrevious(); }
  bool ForegroundChanged() const override { return hook_.ForegroundChanged(); }
  bool TakeForegroundChanged() override { return hook_.TakeForegroundChanged(); }
  void ClearForegroundChanged() override { hook_.ClearForegroundChanged(); }
  void Stop() override { hook_.Unhook(); }

 private:
  TMyHook& hook_;
};

}  // namespace pen
