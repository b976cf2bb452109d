#include "pipeline/SharedBlock.h"

#include <cstring>

#include "common/ByteOrder.h"

namespace pen {

using namespace tabshare;

uint32_t TSharedBlock::Load32(size_t offset) const { return Fits(offset, 4) ? LoadLE32(bytes_ + offset) : 0; }

void TSharedBlock::Store32(size_t offset, uint32_t value) {
  if (Fits(offset, 4)) StoreLE32(bytes_ + offset, value);
}

void TSharedBlock::WriteSlot(uint32_t index, const PenPacket& packet, uint32_t time, uint32_t serial) {
  const size_t at = SlotOffset(index);
  if (!Fits(at, kSlotSize)) return;
  std::memcpy(bytes_ + at + slot::kStatus, packet.bytes.data(), slot::kPacketBytes);
  StoreLE32(bytes_ + at + slot::kTime, time);
  StoreLE32(bytes_ + at + slot::kSerial, serial);
}

RingSlot TSharedBlock::ReadSlot(uint32_t index) const {
  RingSlot out;
  const size_t at = SlotOffset(index);
  if (!Fits(at, kSlotSize)) return out;
  std::memcpy(out.packet.bytes.data(), bytes_ + at + slot::kStatus, slot::kPacketBytes);
  out.time = LoadLE32(bytes_ + at + slot::kTime);
  out.serial = LoadLE32(bytes_ + at + slot::kSerial);
  return out;
}

SavedClient TSharedBlock::ReadSaved(uint32_t index) const {
  SavedClient out;
  const size_t at = SavedOffset(index);
  if (!Fits(at, kSavedEntrySize)) return out;
  out.window = LoadLE32(bytes_ + at + saved::kWindow);
  out.process = LoadLE32(bytes_ + at + saved::kProcess);
  out.flag = bytes_[at + saved::kFlag];
  return out;
}

void TSharedBlock::WriteSaved(uint32_t index, const SavedClient& entry) {
  const size_t at = SavedOffset(index);
  if (!Fits(at, kSavedEntrySize)) return;
  StoreLE32(bytes_ + at + saved::kWindow, entry.window);
  StoreLE32(bytes_ + at + saved::kProcess, entry.process);
  bytes_[at + saved::kFlag] = entry.flag;
}

void TSharedBlock::Clear() {
  if (bytes_ != nullptr) std::memset(bytes_, 0, size_ < kBlockSize ? size_ : kBlockSize);
}

}  // namespace pen
