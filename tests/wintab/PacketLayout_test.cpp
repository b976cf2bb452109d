#include "wintab/PacketLayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace pen::wintab {
namespace {

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

// What the drawing programs of the two toolkits ask for.
constexpr WTPKT kQtData = PK_CURSOR | PK_X | PK_Y | PK_BUTTONS | PK_NORMAL_PRESSURE | PK_TANGENT_PRESSURE |
                          PK_ORIENTATION | PK_Z | PK_TIME;
constexpr WTPKT kGtkData = PK_CONTEXT | PK_CURSOR | PK_BUTTONS | PK_X | PK_Y | PK_NORMAL_PRESSURE | PK_ORIENTATION;

TEST(PacketLayout, AQtPacketIsFortyFourBytesInTheInterfacesOrderWhateverTheBitness) {
  for (size_t handle : {4u, 8u}) {
    const TPacketLayout l(kQtData, handle);
    EXPECT_EQ(l.Size(), 44u);
    EXPECT_EQ(l.Offset(PK_TIME), 0u);
    EXPECT_EQ(l.Offset(PK_CURSOR), 4u);
    EXPECT_EQ(l.Offset(PK_BUTTONS), 8u);
    EXPECT_EQ(l.Offset(PK_X), 12u);
    EXPECT_EQ(l.Offset(PK_Y), 16u);
    EXPECT_EQ(l.Offset(PK_Z), 20u);
    EXPECT_EQ(l.Offset(PK_NORMAL_PRESSURE), 24u);
    EXPECT_EQ(l.Offset(PK_TANGENT_PRESSURE), 28u);
    EXPECT_EQ(l.Offset(PK_ORIENTATION), 32u);
  }
}

TEST(PacketLayout, TheContextHandleIsPointerSizedAndPadsA64BitPacketToEightBytes) {
  EXPECT_EQ(TPacketLayout(kGtkData, 4).Size(), 36u);
  EXPECT_EQ(TPacketLayout(kGtkData, 8).Size(), 40u);
  EXPECT_EQ(TPacketLayout(kGtkData, 8).Offset(PK_CURSOR), 8u);
  EXPECT_EQ(TPacketLayout(PK_CONTEXT | PK_STATUS, 8).Size(), 16u);
  EXPECT_EQ(TPacketLayout(PK_CONTEXT | PK_STATUS, 4).Size(), 8u);
  EXPECT_EQ(TPacketLayout(PK_X | PK_Y | PK_NORMAL_PRESSURE, 8).Size(), 12u);
  EXPECT_EQ(TPacketLayout(0, 8).Size(), 0u);
}

TEST(PacketLayout, WritesOnlyTheItemsAskedForEachAtItsPlace) {
  PacketFields f;
  f.context = 0x1122334455667788ull;
  f.status = 2;
  f.time = 1000;
  f.changed = PK_X;
  f.serial = 17;
  f.cursor = 1;
  f.buttons = 5;
  f.x = 65520;
  f.y = -3;
  f.normalPressure = 2048;
  f.orientation = {900, 450, 0};
  const TPacketLayout l(PK_CONTEXT | PK_SERIAL_NUMBER | PK_X | PK_Y | PK_NORMAL_PRESSURE | PK_ORIENTATION, 8);
  std::vector<uint8_t> out(l.Size(), 0xEE);
  l.Write(f, out.data());
  ASSERT_EQ(out.size(), 40u);
  uint64_t ctx;
  std::memcpy(&ctx, out.data(), 8);
  EXPECT_EQ(ctx, 0x1122334455667788ull);
  EXPECT_EQ(U32At(out, 8), 17u);
  EXPECT_EQ(U32At(out, 12), 65520u);
  EXPECT_EQ(static_cast<int32_t>(U32At(out, 16)), -3);
  EXPECT_EQ(U32At(out, 20), 2048u);
  EXPECT_EQ(U32At(out, 24), 900u);
  EXPECT_EQ(U32At(out, 28), 450u);
  EXPECT_EQ(U32At(out, 32), 0u);
  EXPECT_EQ(U32At(out, 36), 0u);  // padding, cleared
  // A 32-bit program gets the handle's low half.
  const TPacketLayout small(PK_CONTEXT | PK_STATUS, 4);
  std::vector<uint8_t> s(small.Size());
  small.Write(f, s.data());
  EXPECT_EQ(U32At(s, 0), 0x55667788u);
  EXPECT_EQ(U32At(s, 4), 2u);
}

}  // namespace
}  // namespace pen::wintab
