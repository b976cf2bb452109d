#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "wintab/PacketLayout.h"
#include "wintab/TabletSample.h"
#include "wintab/Wintab.h"

namespace pen::wintab {

// Maps one axis from a context's input area onto its output area. A
// negative output (or input) extent turns the axis round; input outside
// the area is held at its edge.
int32_t ScaleAxis(int32_t in, int32_t inOrg, int32_t inExt, int32_t outOrg, int32_t outExt);

// One open context: its settings, the packets it makes from the device's
// samples (items from lcPktData, relative ones from lcPktMode, positions
// scaled from lcIn* to lcOut*) and its packet queue. The queue's storage is
// made when its size is set, never per packet.
class TWintabContext {
 public:
  static constexpr int kDefaultQueueSize = 8;
  static constexpr int kLargestQueueSize = 4096;
  static constexpr uint32_t kFirstSerial = 1;

  TWintabContext(uint64_t handle, uint64_t window, const LOGCONTEXTW& settings, size_t handleSize);

  uint64_t Handle() const { return handle_; }
  uint64_t Window() const { return window_; }
  const LOGCONTEXTW& Settings() const { return lc_; }
  // New settings; the status stays the library's. The layout of packets
  // already queued follows the new lcPktData when they are read.
  void SetSettings(const LOGCONTEXTW& settings);
  const TPacketLayout& Layout() const { return layout_; }
  uint32_t Options() const { return lc_.f.lcOptions; }
  uint32_t MessageBase() const { return lc_.f.lcMsgBase; }
  bool Enabled() const { return (lc_.f.lcStatus & CXS_DISABLED) == 0; }
  void SetEnabled(bool on);
  void SetStatusBits(uint32_t bits, bool on);
  bool Contains(const TabletSample& s) const;

  // Proximity: whether the pen is in this context now.
  bool InProximity() const { return inProximity_; }
  // The pen went out of this context: the next packet starts afresh.
  void Leave() { inProximity_ = false; }

  // Makes the packet for `s`. False when the context takes nothing from it
  // (no item of lcMoveMask changed and no button of the masks changed).
  // `entered` says whether it is the first packet since the pen came in.
  bool Translate(const TabletSample& s, uint32_t timeOffset, PacketFields& out, bool& entered);
  // Queues a packet; when the queue is full the packet is lost and the next
  // one queued carries TPS_QUEUE_ERR. Returns whether it was queued.
  bool Push(const PacketFields& p);

  // The interface's queue operations; packets are written in this
  // context's layout. Null `out`: nothing is written.
  int PacketsGet(int maxPackets, uint8_t* out);
  int PacketsPeek(int maxPackets, uint8_t* out) const;
  // The packet with `serial`: copies it, drops it and every older one.
  bool PacketBySerial(uint32_t serial, uint8_t* out);
  // Packets from serial `begin` to `end`, both in the queue; returns how
  // many there are, `copied` how many were written (at most maxPackets).
  int DataGet(uint32_t begin, uint32_t end, int maxPackets, uint8_t* out, int& copied, bool remove);
  bool OldestAndNewest(uint32_t& oldest, uint32_t& newest) const;
  int QueueSize() const { return static_cast<int>(queue_.size()); }
  int Queued() const { return count_; }
  // False for a size out of range; the queue is then gone, as the
  // interface describes, until a size is set that works.
  bool SetQueueSize(int packets);
  void Flush() { first_ = count_ = 0; }

 private:
  const PacketFields& At(int i) const { return queue_[(first_ + i) % queue_.size()]; }
  int Find(uint32_t serial) const;
  void Drop(int n);

  const uint64_t handle_;
  const uint64_t window_;
  const size_t handleSize_;
  LOGCONTEXTW lc_;
  TPacketLayout layout_;
  std::vector<PacketFields> queue_;
  int first_ = 0, count_ = 0;
  bool overflowed_ = false;
  uint32_t nextSerial_ = kFirstSerial;
  bool inProximity_ = false;
  // The last packet's absolute values, for relative items and pkChanged.
  PacketFields last_{};
};

}  // namespace pen::wintab
