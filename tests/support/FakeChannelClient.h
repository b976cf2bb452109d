#pragma once
// The service side as a client of the shared channel sees it: a service
// window that comes and goes and records registrations, a sink that
// records what it was given, and a ring writer that fills the block as the
// service's ring write does.
#include <cstdint>
#include <vector>

#include "pipeline/ChannelClient.h"
#include "pipeline/SharedBlock.h"
#include "pipeline/SharedBlockLayout.h"

namespace pen::test {

class FakeChannelService : public IChannelService {
 public:
  uint64_t window = 0;  // 0: no service runs
  bool refusePost = false;
  struct Registration {
    uint64_t service, window;
    uint32_t process;
  };
  std::vector<Registration> registrations;

  uint64_t FindService() override { return window; }
  bool Register(uint64_t service, uint64_t client, uint32_t process) override {
    if (refusePost) return false;
    registrations.push_back({service, client, process});
    return true;
  }
};

class RecordingSink : public IChannelSink {
 public:
  std::vector<RingSlot> packets;
  std::vector<uint32_t> lost;
  std::vector<uint32_t> slots;
  std::vector<bool> service;
  void OnPacket(const RingSlot& slot, uint32_t l, uint32_t index) override {
    packets.push_back(slot);
    lost.push_back(l);
    slots.push_back(index);
  }
  void OnService(bool present) override { service.push_back(present); }
};

// Writes packets into a block the way the service's ring write does.
class RingWriter {
 public:
  explicit RingWriter(std::vector<uint8_t>& bytes) : block_(bytes.data(), bytes.size()) {}
  void Target(uint32_t process) {
    block_.SetTargetProcess(process);
    block_.SetTail(0);
    block_.SetHead(0);
  }
  void Write(const PenPacket& p, uint32_t time) {
    uint32_t tail = block_.TailIndex(), head = block_.HeadIndex();
    block_.WriteSlot(head, p, time, serial++);
    head = TSharedBlock::NextIndex(head);
    block_.SetHead(head);
    if (tail == head) block_.SetTail(TSharedBlock::NextIndex(tail));
  }
  static PenPacket Packet(uint8_t status, uint16_t x, uint16_t y, uint16_t pressure, int8_t tiltA = 0,
                          int8_t tiltB = 0) {
    PenPacket p;
    p.SetStatus(status);
    p.SetX(x);
    p.SetY(y);
    p.SetPressure(pressure);
    p.SetTilt(tiltA, tiltB);
    return p;
  }
  TSharedBlock& Block() { return block_; }
  uint32_t serial = 0;

 private:
  TSharedBlock block_;
};

}  // namespace pen::test
