// What a packet becomes in the ring: scaling, slots, indices, notifications
// and the packet that says the pen has left.
#include <gtest/gtest.h>

#include "support/MapFileRig.h"

namespace pen::test {
namespace {

class Ring : public ::testing::Test, protected MapFileRig {
 protected:
  void SetUp() override { Create(); }
  TSharedBlock block() { return Block(); }
};

TEST_F(Ring, PacketsAreScaledToTheScreenAreaAndStampedWithTimeAndSerial) {
  channel->SetArea(AreaRecord{0, 0, 4095, 4095});
  counter.AdvanceMs(12345);
  Pen(0xC1, 0xFFF0, 0xFFF0, 2048, -5, 7);
  RingSlot s = block().ReadSlot(0);
  EXPECT_EQ(s.packet.X(), 65504);
  EXPECT_EQ(s.packet.Y(), 65504);
  EXPECT_EQ(s.packet.Status(), 0xC1);
  EXPECT_EQ(s.packet.Pressure(), 2048);
  EXPECT_EQ(s.packet.TiltA(), -5);
  EXPECT_EQ(s.packet.TiltB(), 7);
  EXPECT_EQ(s.time, 12345u);
  EXPECT_EQ(s.serial, 0u);

  // Top 200, Left 100, Width 2000, Height 3000.
  channel->SetArea(AreaRecord{200, 100, 2000, 3000});
  Pen(0xC0, 0, 0x8000);
  s = block().ReadSlot(1);
  EXPECT_EQ(s.packet.X(), 1600);
  EXPECT_EQ(s.packet.Y(), 27200);
  EXPECT_EQ(s.serial, 1u);
  // The sum is kept to 16 bits.
  channel->SetArea(AreaRecord{4095, 4095, 4095, 4095});
  Pen(0xC0, 0xFFF0, 0);
  EXPECT_EQ(block().ReadSlot(2).packet.X(), 65488);  // 131024 in 16 bits
  EXPECT_EQ(block().ReadSlot(2).packet.Y(), 65520);
}

TEST_F(Ring, SixtyFourUnconsumedPacketsLeaveHeadZeroAndTailOneAndASixtyFifthHeadOneAndTailTwo) {
  Register(0x100, 100);
  for (int i = 0; i < 63; ++i) Pen(0xC0);
  EXPECT_EQ(block().Head(), 63u);
  EXPECT_EQ(block().Tail(), 0u);
  // The tail has not moved since the start: nobody is woken yet.
  EXPECT_TRUE(PacketNotices(0x100).empty());
  Pen(0xC0);
  EXPECT_EQ(block().Head(), 0u);
  EXPECT_EQ(block().Tail(), 1u);
  Pen(0xC0);
  EXPECT_EQ(block().Head(), 1u);
  EXPECT_EQ(block().Tail(), 2u);
  // Once full, one notice per packet, each with its serial.
  EXPECT_EQ(PacketNotices(0x100), (std::vector<uint64_t>{63, 64}));
  EXPECT_EQ(block().ReadSlot(0).serial, 64u);
  EXPECT_EQ(block().ReadSlot(1).serial, 1u);
}

TEST_F(Ring, AConsumerThatMovesTheTailIsWokenOncePerBatch) {
  Register(0x100, 100);
  auto consume = [this] {
    TSharedBlock b = block();
    b.SetTail(b.Head());
  };
  Pen(0xC0);
  Pen(0xC0);
  consume();  // read on its own, e.g. when the program asked for packets
  for (int i = 0; i < 5; ++i) Pen(0xC0);
  EXPECT_EQ(PacketNotices(0x100), (std::vector<uint64_t>{2}));
  consume();
  Pen(0xC0);
  Pen(0xC0);
  EXPECT_EQ(PacketNotices(0x100), (std::vector<uint64_t>{2, 7}));
  for (const auto& m : windows.To(0x100)) EXPECT_FALSE(m.posted);  // never waits for the client
}

TEST_F(Ring, WithoutAClientForTheTargetProcessPacketsAreStillWrittenAndNobodyIsWoken) {
  windows.AddWindow(0x300, 300);
  windows.underCursor = 0x300;
  Pen(0xC0);
  Pen(0xC1);
  TSharedBlock b = block();
  b.SetTail(1);
  Pen(0xC1);
  EXPECT_EQ(b.TargetProcess(), 300u);
  EXPECT_EQ(b.Head(), 2u);
  EXPECT_TRUE(windows.sent.empty());
}

TEST_F(Ring, IndicesAClientLeftOutsideTheRingCountAsZero) {
  TSharedBlock b = block();
  b.SetTail(200);
  b.SetHead(0xFFFFFF00);
  Pen(0xC2);
  EXPECT_EQ(b.ReadSlot(0).packet.Status(), 0xC2);
  EXPECT_EQ(b.Head(), 1u);
  b.SetTail(0);
  b.SetHead(63);  // full
  Pen(0xC0);
  EXPECT_EQ(b.Head(), 0u);
  EXPECT_EQ(b.Tail(), 1u);
}

TEST_F(Ring, TheTimeStampIsTheCounterInMillisecondsLowBitsWithoutOverflow) {
  counter.frequency = 3'000'000'000;
  counter.count = uint64_t{1} << 62;
  channel = nullptr;
  Create();
  Pen(0xC0);
  EXPECT_EQ(block().ReadSlot(0).time, 3925348137u);  // 1537228672809 ms, low 32 bits
}

// --- the pen has left -------------------------------------------------------

TEST_F(Ring, HalfASecondWithoutPacketsWritesOneLeftPacketWithTheLastScaledPlace) {
  Register(0x100, 100);
  channel->SetArea(AreaRecord{200, 100, 2000, 3000});
  Pen(0xC0, 0x4000, 0x4000, 0, 3, 4);
  counter.AdvanceMs(8);
  Pen(0xC1, 0x8000, 0x2000, 900, 5, 6);
  EXPECT_EQ(timer.starts, 1);  // armed once, not per packet
  EXPECT_EQ(timer.period, 500u);
  counter.AdvanceMs(500);
  timer.Fire();
  EXPECT_FALSE(timer.running);
  TSharedBlock b = block();
  ASSERT_EQ(b.Head(), 3u);
  const RingSlot last = b.ReadSlot(1), left = b.ReadSlot(2);
  EXPECT_EQ(left.packet.Status(), 0x80);
  EXPECT_EQ(left.packet.X(), last.packet.X());
  EXPECT_EQ(left.packet.Y(), last.packet.Y());
  EXPECT_EQ(left.packet.X(), 17600);
  EXPECT_EQ(left.packet.Pressure(), 900);
  EXPECT_EQ(left.serial, 2u);
  EXPECT_EQ(left.time, 508u);
  // Another half second: nothing more.
  counter.AdvanceMs(500);
  timer.Fire();
  EXPECT_EQ(b.Head(), 3u);
  // The pen coming back arms it again; a pen-down right after the left
  // packet still counts from the last real packet's status.
  Pen(0xC1);
  EXPECT_EQ(timer.starts, 2);
  EXPECT_EQ(windows.cursorLookups, 1);
}

TEST_F(Ring, APacketWithinTheHalfSecondPostponesTheLeftPacket) {
  Pen(0xC0);
  counter.AdvanceMs(300);
  Pen(0xC0);
  counter.AdvanceMs(200);
  timer.Fire();  // 500 ms after the first packet, 200 after the last
  EXPECT_EQ(block().Head(), 2u);
  EXPECT_TRUE(timer.running);
  EXPECT_EQ(timer.period, 300u);
  counter.AdvanceMs(300);
  timer.Fire();
  EXPECT_EQ(block().Head(), 3u);
  EXPECT_EQ(block().ReadSlot(2).packet.Status(), 0x80);
}

}  // namespace
}  // namespace pen::test
