#include "pipeline/ChannelClient.h"

#include "pipeline/SharedBlockLayout.h"

namespace pen {

void TChannelClient::Poll() {
  FollowService();
  if (service != 0 && view_.bytes != nullptr) Drain();
}

void TChannelClient::FollowService() {
  const uint64_t now = service_.FindService();
  if (now != service) {
    // Gone, or another instance: what the old one knew of us is gone with
    // it, but for what a kept block carries over.
    if (service != 0) {
      Leave();
      sink_.OnService(false);
    }
    if (now == 0) return;
    // A new instance takes the clients over from a block one of them held.
    if (!knownInBlock_) {
      if (!service_.Register(now, window_, process_)) return;
      ++counts_.registrations;
    }
    service = now;
    // A new instance counts its serials from 0 again.
    anySerial_ = false;
    sink_.OnService(true);
  }
  if (service == 0) return;
  if (view_.bytes == nullptr) OpenBlock();
}

void TChannelClient::Leave() {
  if (!keepBlock_ || view_.bytes == nullptr) {
    Disconnect();
    return;
  }
  service = 0;
  targeted_ = false;
  anySerial_ = false;
}

bool TChannelClient::OpenBlock() {
  SharedBlockView view;
  if (!block_.Open(view)) return false;
  if (view.bytes == nullptr || view.size < tabshare::kBlockSize) {
    // Made smaller by some other program: nothing to read safely.
    block_.Close();
    return false;
  }
  view_ = view;
  // Opened only while registered with the running instance.
  knownInBlock_ = true;
  return true;
}

bool TChannelClient::OnMessageA(uint64_t wParam, int64_t lParam) {
  if (lParam == tabshare::kNotifyDeselected && wParam == 0) {
    // Whatever comes later for us starts after a reset of the ring.
    targeted_ = false;
    anySerial_ = false;
    return false;
  }
  if (view_.bytes == nullptr && (service == 0 || !OpenBlock())) return false;
  return Drain() > 0;
}

uint32_t TChannelClient::Drain() {
  if (view_.bytes == nullptr) return 0;
  if (!block_.Lock(lockWaitMs_)) {
    ++counts_.lockMisses;
    return 0;
  }
  TSharedBlock block(view_.bytes, view_.size);
  target_ = block.TargetProcess();
  if (target_ != process_) {
    if (targeted_) anySerial_ = false;
    targeted_ = false;
    block_.Unlock();
    return 0;
  }
  targeted_ = true;
  uint32_t tail = block.TailIndex();
  const uint32_t head = block.HeadIndex();
  uint32_t delivered = 0;
  while (tail != head) {
    const RingSlot slot = block.ReadSlot(tail);
    uint32_t lost = 0;
    // A serial below the last one: the service started again.
    if (anySerial_ && slot.serial > lastSerial_) lost = slot.serial - lastSerial_ - 1;
    anySerial_ = true;
    lastSerial_ = slot.serial;
    counts_.lost += lost;
    sink_.OnPacket(slot, lost, tail);
    ++delivered;
    tail = TSharedBlock::NextIndex(tail);
  }
  if (delivered > 0) block.SetTail(tail);
  block_.Unlock();
  counts_.packets += delivered;
  return delivered;
}

void TChannelClient::Disconnect() {
  if (view_.bytes != nullptr) block_.Close();
  view_ = SharedBlockView{};
  service = 0;
  targeted_ = false;
  knownInBlock_ = false;
  anySerial_ = false;
}

}  // namespace pen
