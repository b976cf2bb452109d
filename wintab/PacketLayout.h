#pragma once
#include <cstddef>
#include <cstdint>

#include "wintab/Wintab.h"

namespace pen::wintab {

// Every item a packet can carry, before a context's lcPktData picks some.
struct PacketFields {
  uint64_t context = 0;  // the context handle's value
  uint32_t status = 0;
  uint32_t time = 0;
  WTPKT changed = 0;
  uint32_t serial = 0;
  uint32_t cursor = 0;
  uint32_t buttons = 0;
  int32_t x = 0, y = 0, z = 0;
  int32_t normalPressure = 0;
  int32_t tangentPressure = 0;
  ORIENTATION orientation{};
  ROTATION rotation{};
};

// Where each item of a packet sits for one lcPktData: the items in the
// interface's order, each aligned to its size, the whole padded to its
// largest member, as a program's compiler lays out the packet structure it
// declares from the same bits. The context handle is pointer-sized, so a
// 64-bit program's packets differ from a 32-bit program's.
class TPacketLayout {
 public:
  TPacketLayout() = default;
  TPacketLayout(WTPKT data, size_t handleSize);

  size_t Size() const { return size_; }
  WTPKT Data() const { return data_; }
  // Offset of one item (a single PK_ bit); only meaningful when carried.
  size_t Offset(WTPKT item) const;
  // Writes the carried items into `out` (Size() bytes); padding is zeroed.
  void Write(const PacketFields& fields, uint8_t* out) const;

  // The items this library can fill in.
  static constexpr WTPKT kKnown = 0x3FFF;

 private:
  WTPKT data_ = 0;
  size_t handleSize_ = sizeof(void*);
  size_t size_ = 0;
  uint16_t offsets_[14]{};
};

}  // namespace pen::wintab
