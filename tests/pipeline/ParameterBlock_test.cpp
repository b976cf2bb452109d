#include "pipeline/ParameterBlock.h"

#include <gtest/gtest.h>

namespace pen {
namespace {

ParamBlock Erased() {
  ParamBlock b;
  b.fill(0xFF);
  return b;
}

ParamBlock Block(uint16_t base, uint8_t key, uint8_t mods, uint16_t pressure, uint8_t rotation) {
  ParamBlock b = Erased();
  WriteBigEndian16(b, 0, base);
  b[2] = key;
  b[3] = mods;
  WriteBigEndian16(b, 4, pressure);
  b[6] = rotation;
  StoreChecksum(b);
  return b;
}

TEST(ParameterBlockChecksum, IsTheSumOfTheFirstSixtyTwoBytesStoredBigEndian) {
  ParamBlock b{};
  b[0] = 0x06;
  b[1] = 0x0E;
  b[2] = 29;
  b[61] = 0xFF;
  b[63] = 0x77;  // the checksum bytes themselves are not summed
  StoreChecksum(b);
  const unsigned sum = 0x06 + 0x0E + 29 + 0xFF;
  EXPECT_EQ(b[62], sum >> 8);
  EXPECT_EQ(b[63], sum & 0xFF);
  EXPECT_TRUE(ChecksumHolds(b));
  b[5] ^= 1;
  EXPECT_FALSE(ChecksumHolds(b));
}

TEST(ParameterBlockChecksum, ErasedMemoryHasAnErasedChecksumThatDoesNotHold) {
  const ParamBlock b = Erased();
  EXPECT_TRUE(ChecksumErased(b));
  EXPECT_FALSE(ChecksumHolds(b));
  EXPECT_EQ(CopySum(b), kErasedCopySum);
}

TEST(PressureBase, IsValidWhenErasedOrBetween1000And2300) {
  EXPECT_TRUE(PressureBaseValid(0xFFFF));
  EXPECT_TRUE(PressureBaseValid(1000));
  EXPECT_TRUE(PressureBaseValid(2300));
  EXPECT_FALSE(PressureBaseValid(999));
  EXPECT_FALSE(PressureBaseValid(2301));
  EXPECT_FALSE(PressureBaseValid(0));
}

TEST(RepairBlock, AnOutOfRangePressureBaseReinitialisesTheWholeBlock) {
  ParamBlock b = Block(900, 4, 2, 0x0012, 2);
  b[30] = 0;
  RepairBlock(b, false);
  EXPECT_EQ(ReadBigEndian16(b, 0), 1550);
  EXPECT_EQ(b[2], 29);
  EXPECT_EQ(b[3], 1);
  EXPECT_EQ(ReadBigEndian16(b, 4), 0);
  for (int i = 6; i < 62; ++i) EXPECT_EQ(b[i], 0xFF) << "byte " << i;
  EXPECT_TRUE(ChecksumHolds(b));

  ParamBlock t = Block(2400, 4, 2, 7, 1);
  RepairBlock(t, true);
  EXPECT_EQ(ReadBigEndian16(t, 0), 1450);
}

TEST(RepairBlock, ErasedMemoryGetsOnlyTheDefaultBaseOnAClassicTablet) {
  ParamBlock b = Erased();
  RepairBlock(b, false);
  EXPECT_EQ(ReadBigEndian16(b, 0), 1550);
  EXPECT_EQ(b[2], 0xFF);
  EXPECT_EQ(b[3], 0xFF);
  EXPECT_EQ(ReadBigEndian16(b, 4), 0xFFFF);
  EXPECT_EQ(b[6], 0xFF);
  EXPECT_TRUE(ChecksumHolds(b));
}

TEST(RepairBlock, ErasedMemoryOnATrackerTabletAlsoStartsFromNeutralPressure) {
  ParamBlock b = Erased();
  RepairBlock(b, true);
  EXPECT_EQ(ReadBigEndian16(b, 0), 1450);
  EXPECT_EQ(ReadBigEndian16(b, 4), 0);
  EXPECT_EQ(b[2], 0xFF);
}

TEST(RepairBlock, AValidBlockOnlyGetsItsChecksumRecomputed) {
  ParamBlock b = Block(1600, 5, 3, 0xFFF0, 1);
  const ParamBlock before = b;
  b[62] = b[63] = 0;
  RepairBlock(b, false);
  EXPECT_EQ(b, before);
}

TEST(ForceTrackerBase, SetsBase1450AndClearsThePressureOnlyWhenTheBaseDiffers) {
  ParamBlock b = Block(1550, 5, 3, 0x0010, 1);
  EXPECT_TRUE(ForceTrackerBase(b));
  EXPECT_EQ(ReadBigEndian16(b, 0), 1450);
  EXPECT_EQ(ReadBigEndian16(b, 4), 0);
  EXPECT_EQ(b[2], 5);

  ParamBlock same = Block(1450, 5, 3, 0x0010, 1);
  EXPECT_FALSE(ForceTrackerBase(same));
  EXPECT_EQ(ReadBigEndian16(same, 4), 0x0010);
}

TEST(SecondCopyOutvotesFirst, OnlyWhenTheOtherTwoAgreeAgainstTheFirstAndAreNotErased) {
  EXPECT_TRUE(SecondCopyOutvotesFirst(kErasedCopySum, 5000, 5000));
  EXPECT_FALSE(SecondCopyOutvotesFirst(5000, 5000, 5000));  // first agrees with third
  EXPECT_FALSE(SecondCopyOutvotesFirst(kErasedCopySum, 5000, 6000));
  EXPECT_FALSE(SecondCopyOutvotesFirst(4000, kErasedCopySum, kErasedCopySum));
}

}  // namespace
}  // namespace pen
