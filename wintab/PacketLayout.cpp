#include "wintab/PacketLayout.h"

#include <cstring>

namespace pen::wintab {

namespace {

// Size of item i (bit 1 << i); the handle is the only one whose size varies.
size_t ItemSize(int i, size_t handleSize) {
  switch (1u << i) {
    case PK_CONTEXT: return handleSize;
    case PK_ORIENTATION: return sizeof(ORIENTATION);
    case PK_ROTATION: return sizeof(ROTATION);
    default: return 4;
  }
}

size_t ItemAlign(int i, size_t handleSize) { return (1u << i) == PK_CONTEXT ? handleSize : 4; }

int IndexOf(WTPKT item) {
  for (int i = 0; i < 14; ++i) {
    if (item == (1u << i)) return i;
  }
  return -1;
}

void Put32(uint8_t* at, uint32_t v) { std::memcpy(at, &v, 4); }

}  // namespace

TPacketLayout::TPacketLayout(WTPKT data, size_t handleSize)
    : data_(data & kKnown), handleSize_(handleSize == 8 ? 8 : 4) {
  size_t at = 0, largest = 1;
  for (int i = 0; i < 14; ++i) {
    if ((data_ & (1u << i)) == 0) continue;
    const size_t align = ItemAlign(i, handleSize_);
    at = (at + align - 1) / align * align;
    offsets_[i] = static_cast<uint16_t>(at);
    at += ItemSize(i, handleSize_);
    if (align > largest) largest = align;
  }
  size_ = (at + largest - 1) / largest * largest;
}

size_t TPacketLayout::Offset(WTPKT item) const {
  const int i = IndexOf(item);
  return i < 0 ? 0 : offsets_[i];
}

void TPacketLayout::Write(const PacketFields& f, uint8_t* out) const {
  std::memset(out, 0, size_);
  for (int i = 0; i < 14; ++i) {
    const WTPKT bit = 1u << i;
    if ((data_ & bit) == 0) continue;
    uint8_t* at = out + offsets_[i];
    switch (bit) {
      case PK_CONTEXT:
        if (handleSize_ == 8) {
          std::memcpy(at, &f.context, 8);
        } else {
          Put32(at, static_cast<uint32_t>(f.context));
        }
        break;
      case PK_STATUS: Put32(at, f.status); break;
      case PK_TIME: Put32(at, f.time); break;
      case PK_CHANGED: Put32(at, f.changed); break;
      case PK_SERIAL_NUMBER: Put32(at, f.serial); break;
      case PK_CURSOR: Put32(at, f.cursor); break;
      case PK_BUTTONS: Put32(at, f.buttons); break;
      case PK_X: Put32(at, static_cast<uint32_t>(f.x)); break;
      case PK_Y: Put32(at, static_cast<uint32_t>(f.y)); break;
      case PK_Z: Put32(at, static_cast<uint32_t>(f.z)); break;
      case PK_NORMAL_PRESSURE: Put32(at, static_cast<uint32_t>(f.normalPressure)); break;
      case PK_TANGENT_PRESSURE: Put32(at, static_cast<uint32_t>(f.tangentPressure)); break;
      case PK_ORIENTATION: std::memcpy(at, &f.orientation, sizeof f.orientation); break;
      case PK_ROTATION: std::memcpy(at, &f.rotation, sizeof f.rotation); break;
      default: break;
    }
  }
}

}  // namespace pen::wintab
