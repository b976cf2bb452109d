#include "wintab/WintabSession.h"

#include <algorithm>
#include <cstring>

namespace pen::wintab {

namespace {

int64_t Pair(uint32_t low, uint32_t high) { return static_cast<int64_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16)); }

}  // namespace

uint64_t TWintabSession::Open(uint64_t window, const LOGCONTEXTW& settings, bool enable) {
  if (settings.f.lcDevice != 0) return 0;
  if (contexts_.size() >= kMaxContexts) {
    // Programs that open their context again without closing the old one
    // would run out: the same window's lowest context makes room.
    uint64_t oldest = 0;
    for (const auto& c : contexts_) {
      if (c->Window() == window) oldest = c->Handle();
    }
    if (oldest == 0) return 0;
    Close(oldest);
  }
  LOGCONTEXTW lc = settings;
  lc.f.lcStatus = enable ? 0 : CXS_DISABLED;
  if (lc.f.lcMsgBase == 0) lc.f.lcMsgBase = WT_DEFBASE;
  const uint64_t handle = nextHandle_++;
  // A new context goes on top.
  contexts_.insert(contexts_.begin(), std::make_unique<TWintabContext>(handle, window, lc, handleSize_));
  TWintabContext& c = *contexts_.front();
  c.SetStatusBits(CXS_ONTOP, true);
  Post(c, WT_CTXOPEN, handle, c.Settings().f.lcStatus);
  UpdateOnTop();
  return handle;
}

bool TWintabSession::Close(uint64_t handle) {
  for (auto it = contexts_.begin(); it != contexts_.end(); ++it) {
    if ((*it)->Handle() != handle) continue;
    const std::unique_ptr<TWintabContext> gone = std::move(*it);
    contexts_.erase(it);
    Post(*gone, WT_CTXCLOSE, handle, gone->Settings().f.lcStatus);
    UpdateOnTop();
    return true;
  }
  return false;
}

TWintabContext* TWintabSession::Find(uint64_t handle) {
  for (auto& c : contexts_) {
    if (c->Handle() == handle) return c.get();
  }
  return nullptr;
}

bool TWintabSession::Enable(uint64_t handle, bool enable) {
  TWintabContext* c = Find(handle);
  if (c == nullptr) return false;
  if (!enable && c->InProximity()) Post(*c, WT_PROXIMITY, handle, Pair(0, 0));
  c->SetEnabled(enable);
  return true;
}

bool TWintabSession::Overlap(uint64_t handle, bool toTop) {
  for (auto it = contexts_.begin(); it != contexts_.end(); ++it) {
    if ((*it)->Handle() != handle) continue;
    std::unique_ptr<TWintabContext> c = std::move(*it);
    contexts_.erase(it);
    if (toTop) {
      contexts_.insert(contexts_.begin(), std::move(c));
    } else {
      contexts_.push_back(std::move(c));
    }
    UpdateOnTop();
    return true;
  }
  return false;
}

void TWintabSession::UpdateOnTop() {
  for (size_t i = 0; i < contexts_.size(); ++i) {
    TWintabContext& c = *contexts_[i];
    const bool top = i == 0;
    const bool was = (c.Settings().f.lcStatus & CXS_ONTOP) != 0;
    c.SetStatusBits(CXS_ONTOP, top);
    if (top != was) Post(c, WT_CTXOVERLAP, c.Handle(), c.Settings().f.lcStatus);
  }
}

bool TWintabSession::Set(uint64_t handle, const LOGCONTEXTW& settings) {
  TWintabContext* c = Find(handle);
  if (c == nullptr || settings.f.lcDevice != 0) return false;
  LOGCONTEXTW lc = settings;
  if (lc.f.lcMsgBase == 0) lc.f.lcMsgBase = WT_DEFBASE;
  c->SetSettings(lc);
  Post(*c, WT_CTXUPDATE, handle, c->Settings().f.lcStatus);
  return true;
}

bool TWintabSession::Save(uint64_t handle, uint8_t* out) {
  TWintabContext* c = Find(handle);
  if (c == nullptr || out == nullptr) return false;
  const uint32_t tag = kSaveTag;
  const int32_t queue = c->QueueSize();
  std::memcpy(out, &tag, 4);
  std::memcpy(out + 4, &c->Settings(), sizeof(LOGCONTEXTW));
  std::memcpy(out + 4 + sizeof(LOGCONTEXTW), &queue, 4);
  return true;
}

uint64_t TWintabSession::Restore(uint64_t window, const uint8_t* saved, bool enable) {
  if (saved == nullptr) return 0;
  uint32_t tag = 0;
  std::memcpy(&tag, saved, 4);
  if (tag != kSaveTag) return 0;
  LOGCONTEXTW lc;
  int32_t queue = 0;
  std::memcpy(&lc, saved + 4, sizeof lc);
  std::memcpy(&queue, saved + 4 + sizeof lc, 4);
  const uint64_t handle = Open(window, lc, enable);
  if (handle != 0 && queue != TWintabContext::kDefaultQueueSize) Find(handle)->SetQueueSize(queue);
  return handle;
}

void TWintabSession::Post(const TWintabContext& c, uint32_t offset, uint64_t wParam, int64_t lParam) {
  if (c.Window() != 0) windows_.Post(c.Window(), c.MessageBase() + offset, wParam, lParam);
}

void TWintabSession::OnPacket(const RingSlot& slot, uint32_t, uint32_t) { Deliver(SampleFromSlot(slot)); }

void TWintabSession::OnService(bool present) {
  servicePresent_ = present;
  // Whatever pen there was went with the service.
  if (!present) LeaveAll();
}

void TWintabSession::LeaveAll() {
  for (auto& c : contexts_) {
    if (!c->InProximity()) continue;
    c->Leave();
    Post(*c, WT_PROXIMITY, c->Handle(), Pair(0, 0));
  }
}

void TWintabSession::Deliver(const TabletSample& s) {
  if (!s.inRange) {
    LeaveAll();
    return;
  }
  TWintabContext* target = nullptr;
  for (auto& c : contexts_) {
    if (c->Enabled() && c->Contains(s)) {
      target = c.get();
      break;
    }
  }
  // Out of one context while still over the tablet.
  for (auto& c : contexts_) {
    if (c.get() == target || !c->InProximity()) continue;
    c->Leave();
    Post(*c, WT_PROXIMITY, c->Handle(), Pair(0, 1));
  }
  if (target == nullptr) return;
  PacketFields p;
  bool entered = false;
  if (!target->Translate(s, timeOffset_, p, entered)) return;
  const bool queued = target->Push(p);
  // The packet is queued first: a program that answers the proximity
  // message by reading the queue finds the packet that brought the pen in.
  if (entered) {
    Post(*target, WT_PROXIMITY, target->Handle(), Pair(1, 1));
    if (target->Options() & CXO_CSRMESSAGES) Post(*target, WT_CSRCHANGE, p.serial, static_cast<int64_t>(target->Handle()));
  }
  if (queued && (target->Options() & CXO_MESSAGES)) {
    Post(*target, WT_PACKET, p.serial, static_cast<int64_t>(target->Handle()));
  }
}

uint32_t TWintabSession::OpenSystemContexts() const {
  uint32_t n = 0;
  for (const auto& c : contexts_) n += (c->Options() & CXO_SYSTEM) ? 1 : 0;
  return n;
}

WTPKT TWintabSession::DataInUse() const {
  WTPKT d = 0;
  for (const auto& c : contexts_) d |= c->Settings().f.lcPktData;
  return d;
}

uint32_t TWintabSession::ButtonsInUse(bool systemOnly) const {
  uint32_t b = 0;
  for (const auto& c : contexts_) {
    if (systemOnly && (c->Options() & CXO_SYSTEM) == 0) continue;
    b |= c->Settings().f.lcBtnDnMask | c->Settings().f.lcBtnUpMask;
  }
  return b;
}

uint64_t TWintabSession::OpenManager() {
  for (uint64_t& m : managers_) {
    if (m == 0) return m = nextManager_++;
  }
  return 0;
}

bool TWintabSession::CloseManager(uint64_t manager) {
  for (uint64_t& m : managers_) {
    if (manager != 0 && m == manager) {
      m = 0;
      return true;
    }
  }
  return false;
}

bool TWintabSession::IsManager(uint64_t manager) const {
  return manager != 0 && std::find(std::begin(managers_), std::end(managers_), manager) != std::end(managers_);
}

uint32_t TWintabSession::Managers() const {
  return static_cast<uint32_t>(kMaxManagers - std::count(std::begin(managers_), std::end(managers_), 0u));
}

}  // namespace pen::wintab
