#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "pipeline/ChannelClient.h"
#include "wintab/WintabContext.h"
#include "wintab/Wintab.h"

namespace pen::wintab {

// Where the library's messages go: posted, never sent, so that no program
// waits on another.
class IWintabWindows {
 public:
  virtual ~IWintabWindows() = default;
  virtual void Post(uint64_t window, uint32_t msg, uint64_t wParam, int64_t lParam) = 0;
};

// The contexts of one process and the packets the channel gives them: each
// device packet goes to the topmost enabled context whose input area holds
// the pen, which queues it and tells its window (WT_PACKET, WT_PROXIMITY,
// WT_CSRCHANGE). Which process gets the packets at all is the service's
// choice (the foreground program's client).
//
// A system context does not move the pointer: the service already moves it
// for every pen report, and a second move would fight the first.
class TWintabSession : public IChannelSink {
 public:
  static constexpr int kMaxContexts = 64;
  static constexpr uint32_t kMaxManagers = 4;
  // Saved contexts (WTSave): a tag, the settings, the queue size.
  static constexpr uint32_t kSaveTag = 0x43545750;  // "PWTC"
  static constexpr size_t kSaveSize = 4 + sizeof(LOGCONTEXTW) + 4;

  TWintabSession(IWintabWindows& windows, size_t handleSize) : windows_(windows), handleSize_(handleSize) {}

  // WTOpen: 0 when the settings cannot be had (another device, or too many
  // contexts, none of them the same window's; otherwise that window's
  // lowest context is closed to make room). A context opens whether or not
  // the service runs; it hears from the pen once the service is there.
  uint64_t Open(uint64_t window, const LOGCONTEXTW& settings, bool enable);
  bool Close(uint64_t handle);
  TWintabContext* Find(uint64_t handle);
  bool Enable(uint64_t handle, bool enable);
  bool Overlap(uint64_t handle, bool toTop);
  bool Set(uint64_t handle, const LOGCONTEXTW& settings);
  bool Save(uint64_t handle, uint8_t* out);
  uint64_t Restore(uint64_t window, const uint8_t* saved, bool enable);

  // Milliseconds to add to the service's time stamps to get the system's.
  void SetTimeOffset(uint32_t offset) { timeOffset_ = offset; }

  // From the channel.
  void OnPacket(const RingSlot& slot, uint32_t lost, uint32_t index) override;
  void OnService(bool present) override;
  // A device sample, as OnPacket gives it on.
  void Deliver(const TabletSample& s);

  // Status (WTI_STATUS).
  uint32_t OpenContexts() const { return static_cast<uint32_t>(contexts_.size()); }
  uint32_t OpenSystemContexts() const;
  WTPKT DataInUse() const;
  uint32_t ButtonsInUse(bool systemOnly) const;
  uint32_t Managers() const;
  // Manager handles: the contexts' owners, seen from this process only.
  uint64_t OpenManager();
  bool CloseManager(uint64_t manager);
  bool IsManager(uint64_t manager) const;
  // The open contexts, topmost first.
  const std::vector<std::unique_ptr<TWintabContext>>& Contexts() const { return contexts_; }
  bool ServicePresent() const { return servicePresent_; }

 private:
  void Post(const TWintabContext& c, uint32_t offset, uint64_t wParam, int64_t lParam);
  void LeaveAll();
  void UpdateOnTop();

  IWintabWindows& windows_;
  const size_t handleSize_;
  std::vector<std::unique_ptr<TWintabContext>> contexts_;  // topmost first
  uint64_t nextHandle_ = 1;
  uint64_t managers_[kMaxManagers]{};  // open handles; 0: a free place
  uint64_t nextManager_ = 1;
  uint32_t timeOffset_ = 0;
  bool servicePresent_ = false;
};

}  // namespace pen::wintab
