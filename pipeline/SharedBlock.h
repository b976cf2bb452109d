#pragma once
#include <cstddef>
#include <cstdint>

#include "pipeline/PenPacket.h"
#include "pipeline/SharedBlockLayout.h"

namespace pen {

// One slot of the ring as a client reads it.
struct RingSlot {
  PenPacket packet;
  uint32_t time = 0;
  uint32_t serial = 0;
};

// One entry of the client table as saved at shut-down.
struct SavedClient {
  uint32_t window = 0;  // a window handle's 32 significant bits
  uint32_t process = 0;
  uint8_t flag = 0;
};

// Reads and writes the fields of a mapped shared block by their offsets,
// byte by byte in little-endian order, so that the layout never depends on a
// compiler's packing. The service and the reference client use the same
// accessors.
//
// The view may be shorter than the layout (another program created the
// mapping smaller): nothing is read or written past `size`; such reads give
// 0 and such writes are dropped. The caller holds the block's mutex.
class TSharedBlock {
 public:
  TSharedBlock() = default;
  TSharedBlock(uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

  // Holds the whole layout.
  bool Complete() const { return bytes_ != nullptr && size_ >= tabshare::kBlockSize; }
  size_t Size() const { return size_; }

  uint32_t TargetProcess() const { return Load32(tabshare::kTargetProcess); }
  void SetTargetProcess(uint32_t pid) { Store32(tabshare::kTargetProcess, pid); }
  // The indices as stored; a client may have left any value there.
  uint32_t Tail() const { return Load32(tabshare::kTail); }
  uint32_t Head() const { return Load32(tabshare::kHead); }
  void SetTail(uint32_t index) { Store32(tabshare::kTail, index); }
  void SetHead(uint32_t index) { Store32(tabshare::kHead, index); }
  // As the ring is walked: a stored index outside 0..63 counts as 0.
  uint32_t TailIndex() const { return AsIndex(Tail()); }
  uint32_t HeadIndex() const { return AsIndex(Head()); }
  static uint32_t AsIndex(uint32_t stored) { return stored < tabshare::kSlots ? stored : 0; }
  static uint32_t NextIndex(uint32_t index) { return (index + 1) % tabshare::kSlots; }

  // Slot `index` (0..63): the packet's nine bytes, then time and serial.
  // Byte 9 is left as it is.
  void WriteSlot(uint32_t index, const PenPacket& packet, uint32_t time, uint32_t serial);
  RingSlot ReadSlot(uint32_t index) const;

  int32_t SavedCount() const { return static_cast<int32_t>(Load32(tabshare::kSavedCount)); }
  void SetSavedCount(int32_t count) { Store32(tabshare::kSavedCount, static_cast<uint32_t>(count)); }
  SavedClient ReadSaved(uint32_t index) const;
  void WriteSaved(uint32_t index, const SavedClient& entry);

  void Clear();

 private:
  static size_t SlotOffset(uint32_t index) { return tabshare::kRing + (index % tabshare::kSlots) * tabshare::kSlotSize; }
  static size_t SavedOffset(uint32_t index) {
    return tabshare::kSavedTable + (index % tabshare::kSavedEntries) * tabshare::kSavedEntrySize;
  }
  bool Fits(size_t offset, size_t length) const { return bytes_ != nullptr && offset + length <= size_; }
  uint32_t Load32(size_t offset) const;
  void Store32(size_t offset, uint32_t value);

  uint8_t* bytes_ = nullptr;
  size_t size_ = 0;
};

}  // namespace pen
