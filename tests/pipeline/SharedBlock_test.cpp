#include "pipeline/SharedBlock.h"

#include <gtest/gtest.h>

#include <vector>

namespace pen {
namespace {

std::vector<uint8_t> BlockBytes(const std::vector<uint8_t>& block, size_t at, size_t n) {
  return std::vector<uint8_t>(block.begin() + static_cast<long>(at), block.begin() + static_cast<long>(at + n));
}

TEST(SharedBlock, HeaderWordsSitAtZeroFourEightAndTwelveLittleEndian) {
  std::vector<uint8_t> bytes(1744, 0);
  TSharedBlock block(bytes.data(), bytes.size());
  block.SetTargetProcess(0x11223344);
  block.SetTail(5);
  block.SetHead(63);
  block.SetSavedCount(-2);
  EXPECT_EQ(BlockBytes(bytes, 0, 16), (std::vector<uint8_t>{0x44, 0x33, 0x22, 0x11, 5, 0, 0, 0, 63, 0, 0, 0, 0xFE, 0xFF,
                                                        0xFF, 0xFF}));
  EXPECT_EQ(block.SavedCount(), -2);
}

TEST(SharedBlock, ASlotHoldsThePacketThenAnUntouchedByteThenTimeAndSerial) {
  std::vector<uint8_t> bytes(1744, 0xEE);
  TSharedBlock block(bytes.data(), bytes.size());
  PenPacket p;
  p.SetStatus(0xC1);
  p.SetX(0x1234);
  p.SetY(0xFFF0);
  p.SetPressure(2048);
  p.SetTilt(-3, 40);
  block.WriteSlot(5, p, 0xA1B2C3D4, 7);
  // Slot 5 starts at 16 + 5 * 18 = 106.
  EXPECT_EQ(BlockBytes(bytes, 106, 18), (std::vector<uint8_t>{0xC1, 0x34, 0x12, 0xF0, 0xFF, 0x00, 0x08, 0xFD, 40, 0xEE,
                                                         0xD4, 0xC3, 0xB2, 0xA1, 7, 0, 0, 0}));
  EXPECT_EQ(bytes[105], 0xEE);
  EXPECT_EQ(bytes[124], 0xEE);
  const RingSlot back = block.ReadSlot(5);
  EXPECT_EQ(back.packet.bytes, p.bytes);
  EXPECT_EQ(back.time, 0xA1B2C3D4u);
  EXPECT_EQ(back.serial, 7u);
  // The last slot ends where the saved table begins.
  block.WriteSlot(63, p, 1, 2);
  EXPECT_EQ(bytes[16 + 63 * 18], 0xC1);
  EXPECT_EQ(bytes[1167], 0);
  EXPECT_EQ(bytes[1168], 0xEE);
}

TEST(SharedBlock, SavedClientsAreNineBytePackedEntriesFrom1168) {
  std::vector<uint8_t> bytes(1744, 0);
  TSharedBlock block(bytes.data(), bytes.size());
  block.WriteSaved(0, SavedClient{0x00010203, 0x0A0B0C0D, 1});
  block.WriteSaved(63, SavedClient{0xFFFFFFFF, 9, 0});
  EXPECT_EQ(BlockBytes(bytes, 1168, 10), (std::vector<uint8_t>{3, 2, 1, 0, 0x0D, 0x0C, 0x0B, 0x0A, 1, 0}));
  EXPECT_EQ(BlockBytes(bytes, 1168 + 63 * 9, 9), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 9, 0, 0, 0, 0}));
  const SavedClient e = block.ReadSaved(0);
  EXPECT_EQ(e.window, 0x00010203u);
  EXPECT_EQ(e.process, 0x0A0B0C0Du);
  EXPECT_EQ(e.flag, 1);
}

TEST(SharedBlock, IndicesOutsideTheRingCountAsZero) {
  std::vector<uint8_t> bytes(1744, 0);
  TSharedBlock block(bytes.data(), bytes.size());
  block.SetTail(64);
  block.SetHead(0xFFFFFFFF);
  EXPECT_EQ(block.Tail(), 64u);
  EXPECT_EQ(block.TailIndex(), 0u);
  EXPECT_EQ(block.HeadIndex(), 0u);
  block.SetHead(63);
  EXPECT_EQ(block.HeadIndex(), 63u);
  EXPECT_EQ(TSharedBlock::NextIndex(63), 0u);
}

TEST(SharedBlock, AShortBlockIsNeverReadOrWrittenPastItsEnd) {
  // Exactly 100 bytes: the sanitizer catches any access beyond.
  std::vector<uint8_t> bytes(100, 0x55);
  TSharedBlock block(bytes.data(), bytes.size());
  EXPECT_FALSE(block.Complete());
  PenPacket p;
  p.SetStatus(0xC0);
  block.WriteSlot(4, p, 1, 1);   // 88..105: does not fit
  block.WriteSlot(60, p, 1, 1);
  block.WriteSaved(0, SavedClient{1, 2, 3});
  EXPECT_EQ(block.ReadSlot(4).serial, 0u);
  EXPECT_EQ(block.ReadSaved(10).process, 0u);
  EXPECT_EQ(block.SavedCount(), 0x55555555);
  block.WriteSlot(3, p, 1, 1);  // 70..87 fits
  EXPECT_EQ(bytes[70], 0xC0);
  block.Clear();
  EXPECT_EQ(bytes[99], 0);
  EXPECT_EQ(TSharedBlock().TargetProcess(), 0u);
}

}  // namespace
}  // namespace pen
