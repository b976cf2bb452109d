#include "wintab/WintabContext.h"

#include <algorithm>
#include <cstdlib>

namespace pen::wintab {

namespace {

constexpr uint32_t kPenCursor = 1;
// Items whose change is a movement (lcMoveMask); time, serial and the rest
// change with every packet and move nothing.
constexpr WTPKT kMotion = PK_X | PK_Y | PK_Z | PK_NORMAL_PRESSURE | PK_TANGENT_PRESSURE | PK_ORIENTATION | PK_ROTATION;

int64_t Low(int32_t org, int32_t ext) { return ext >= 0 ? org : static_cast<int64_t>(org) + ext + 1; }

bool Same(const ORIENTATION& a, const ORIENTATION& b) {
  return a.orAzimuth == b.orAzimuth && a.orAltitude == b.orAltitude && a.orTwist == b.orTwist;
}

}  // namespace

int32_t ScaleAxis(int32_t in, int32_t inOrg, int32_t inExt, int32_t outOrg, int32_t outExt) {
  if (inExt == 0 || outExt == 0) return outOrg;
  const int64_t span = std::llabs(static_cast<int64_t>(inExt));
  const int64_t outSpan = std::llabs(static_cast<int64_t>(outExt));
  const int64_t d = std::clamp<int64_t>(in - Low(inOrg, inExt), 0, span - 1);
  int64_t v = d * outSpan / span;
  if ((inExt < 0) != (outExt < 0)) v = outSpan - 1 - v;
  return static_cast<int32_t>(outOrg + v);
}

TWintabContext::TWintabContext(uint64_t handle, uint64_t window, const LOGCONTEXTW& settings, size_t handleSize)
    : handle_(handle), window_(window), handleSize_(handleSize), lc_(settings) {
  lc_.f.lcPktData &= TPacketLayout::kKnown;
  layout_ = TPacketLayout(lc_.f.lcPktData, handleSize_);
  SetQueueSize(kDefaultQueueSize);
}

void TWintabContext::SetSettings(const LOGCONTEXTW& settings) {
  const uint32_t status = lc_.f.lcStatus;
  lc_ = settings;
  lc_.f.lcStatus = status;
  lc_.f.lcPktData &= TPacketLayout::kKnown;
  layout_ = TPacketLayout(lc_.f.lcPktData, handleSize_);
}

void TWintabContext::SetEnabled(bool on) {
  SetStatusBits(CXS_DISABLED, !on);
  if (!on) inProximity_ = false;
}

void TWintabContext::SetStatusBits(uint32_t bits, bool on) {
  if (on) {
    lc_.f.lcStatus |= bits;
  } else {
    lc_.f.lcStatus &= ~bits;
  }
}

bool TWintabContext::Contains(const TabletSample& s) const {
  const int64_t x0 = Low(lc_.f.lcInOrgX, lc_.f.lcInExtX), y0 = Low(lc_.f.lcInOrgY, lc_.f.lcInExtY);
  return s.x >= x0 && s.x < x0 + std::llabs(static_cast<int64_t>(lc_.f.lcInExtX)) && s.y >= y0 &&
         s.y < y0 + std::llabs(static_cast<int64_t>(lc_.f.lcInExtY));
}

bool TWintabContext::Translate(const TabletSample& s, uint32_t timeOffset, PacketFields& out, bool& entered) {
  const ContextFields& f = lc_.f;
  PacketFields a;
  a.context = handle_;
  a.time = s.time + timeOffset;
  a.cursor = kPenCursor;
  a.buttons = s.buttons;
  a.x = ScaleAxis(s.x, f.lcInOrgX, f.lcInExtX, f.lcOutOrgX, f.lcOutExtX);
  a.y = ScaleAxis(s.y, f.lcInOrgY, f.lcInExtY, f.lcOutOrgY, f.lcOutExtY);
  a.normalPressure = s.pressure;
  a.orientation = s.orientation;

  entered = !inProximity_;
  WTPKT changed = 0;
  if (entered) {
    changed = f.lcPktData | kMotion | PK_BUTTONS | PK_CURSOR;
  } else {
    if (a.x != last_.x) changed |= PK_X;
    if (a.y != last_.y) changed |= PK_Y;
    if (a.normalPressure != last_.normalPressure) changed |= PK_NORMAL_PRESSURE;
    if (!Same(a.orientation, last_.orientation)) changed |= PK_ORIENTATION;
    if (a.buttons != last_.buttons) changed |= PK_BUTTONS;
    if (a.time != last_.time) changed |= PK_TIME;
    changed |= PK_SERIAL_NUMBER;
  }
  const uint32_t before = entered ? 0 : last_.buttons;
  const uint32_t down = a.buttons & ~before, up = before & ~a.buttons;
  const bool buttonEvent = (down & f.lcBtnDnMask) != 0 || (up & f.lcBtnUpMask) != 0;
  if (!entered && !buttonEvent && (changed & f.lcMoveMask & kMotion) == 0) return false;

  out = a;
  out.changed = changed & f.lcPktData;
  out.serial = nextSerial_++;
  const WTPKT rel = f.lcPktMode;
  if (rel & PK_X) out.x = entered ? 0 : a.x - last_.x;
  if (rel & PK_Y) out.y = entered ? 0 : a.y - last_.y;
  if (rel & PK_NORMAL_PRESSURE) out.normalPressure = entered ? 0 : a.normalPressure - last_.normalPressure;
  if (rel & PK_ORIENTATION) {
    out.orientation.orAzimuth = entered ? 0 : a.orientation.orAzimuth - last_.orientation.orAzimuth;
    out.orientation.orAltitude = entered ? 0 : a.orientation.orAltitude - last_.orientation.orAltitude;
    out.orientation.orTwist = 0;
  }
  if (rel & PK_BUTTONS) {
    // The lowest button that changed; the interface reports one per packet.
    out.buttons = TBN_NONE << 16;
    const uint32_t edges = down | up;
    for (uint32_t b = 0; b < kButtonCount; ++b) {
      if (edges & (1u << b)) {
        out.buttons = b | ((down & (1u << b)) ? TBN_DOWN : TBN_UP) << 16;
        break;
      }
    }
  }
  last_ = a;
  inProximity_ = true;
  return true;
}

bool TWintabContext::Push(const PacketFields& p) {
  if (queue_.empty() || count_ == static_cast<int>(queue_.size())) {
    overflowed_ = true;
    return false;
  }
  PacketFields& slot = queue_[(first_ + count_) % queue_.size()];
  slot = p;
  if (overflowed_) slot.status |= TPS_QUEUE_ERR;
  overflowed_ = false;
  ++count_;
  return true;
}

void TWintabContext::Drop(int n) {
  n = std::min(n, count_);
  if (n <= 0) return;
  first_ = (first_ + n) % static_cast<int>(queue_.size());
  count_ -= n;
}

int TWintabContext::PacketsPeek(int maxPackets, uint8_t* out) const {
  const int n = std::clamp(maxPackets, 0, count_);
  if (out != nullptr) {
    for (int i = 0; i < n; ++i) layout_.Write(At(i), out + static_cast<size_t>(i) * layout_.Size());
  }
  return n;
}

int TWintabContext::PacketsGet(int maxPackets, uint8_t* out) {
  const int n = PacketsPeek(maxPackets, out);
  Drop(n);
  return n;
}

int TWintabContext::Find(uint32_t serial) const {
  for (int i = 0; i < count_; ++i) {
    if (At(i).serial == serial) return i;
  }
  return -1;
}

bool TWintabContext::PacketBySerial(uint32_t serial, uint8_t* out) {
  const int i = Find(serial);
  if (i < 0) return false;
  if (out != nullptr) layout_.Write(At(i), out);
  Drop(i + 1);
  return true;
}

int TWintabContext::DataGet(uint32_t begin, uint32_t end, int maxPackets, uint8_t* out, int& copied, bool remove) {
  copied = 0;
  const int b = Find(begin), e = Find(end);
  if (b < 0 || e < b) return 0;
  const int total = e - b + 1;
  copied = std::clamp(maxPackets, 0, total);
  if (out != nullptr) {
    for (int i = 0; i < copied; ++i) layout_.Write(At(b + i), out + static_cast<size_t>(i) * layout_.Size());
  } else {
    copied = 0;
  }
  if (remove) Drop(b + copied);
  return total;
}

bool TWintabContext::OldestAndNewest(uint32_t& oldest, uint32_t& newest) const {
  if (count_ == 0) return false;
  oldest = At(0).serial;
  newest = At(count_ - 1).serial;
  return true;
}

bool TWintabContext::SetQueueSize(int packets) {
  queue_.clear();
  queue_.shrink_to_fit();
  first_ = count_ = 0;
  overflowed_ = false;
  if (packets < 1 || packets > kLargestQueueSize) return false;
  queue_.resize(static_cast<size_t>(packets));
  return true;
}

}  // namespace pen::wintab
