#include "pipeline/ChannelClient.h"

#include <gtest/gtest.h>

#include "support/FakeChannelClient.h"
#include "support/FakeChannelPorts.h"

namespace pen {
namespace {

constexpr uint32_t kProcess = 4242;
constexpr uint64_t kWindow = 0x5150;

struct Rig {
  test::FakeSharedBlockObjects block;
  test::FakeChannelService service;
  test::RecordingSink sink;
  test::RingWriter ring{block.bytes};
  TChannelClient client{block, service, sink, kWindow, kProcess};
};

TEST(ChannelClient, RegistersItsWindowAndProcessOnceWithAServiceThatAppears) {
  Rig r;
  r.client.Poll();
  EXPECT_TRUE(r.service.registrations.empty());
  EXPECT_EQ(r.block.opens, 0);
  EXPECT_FALSE(r.client.Connected());

  r.service.window = 0x77;
  r.client.Poll();
  r.client.Poll();
  ASSERT_EQ(r.service.registrations.size(), 1u);
  EXPECT_EQ(r.service.registrations[0].service, 0x77u);
  EXPECT_EQ(r.service.registrations[0].window, kWindow);
  EXPECT_EQ(r.service.registrations[0].process, kProcess);
  EXPECT_TRUE(r.client.Connected());
  EXPECT_EQ(r.block.opens, 1);
  EXPECT_EQ(r.sink.service, (std::vector<bool>{true}));
}

TEST(ChannelClient, ReadsTheRingOldestFirstOnlyWhileTheHeaderNamesItsProcessAndMovesTheTail) {
  Rig r;
  r.service.window = 0x77;
  r.client.Poll();
  r.ring.Target(999);  // another program in front
  r.ring.Write(test::RingWriter::Packet(0xC0, 100, 200, 0), 10);
  EXPECT_EQ(r.client.Drain(), 0u);
  EXPECT_FALSE(r.client.Targeted());
  EXPECT_EQ(r.ring.Block().Tail(), 0u);

  r.ring.Target(kProcess);
  r.ring.Write(test::RingWriter::Packet(0xC0, 100, 200, 0), 11);
  r.ring.Write(test::RingWriter::Packet(0xC1, 110, 210, 900, -5, 7), 12);
  // The notice's serial is the last packet's; the client reads all there is.
  EXPECT_TRUE(r.client.OnMessageA(2, 5));
  ASSERT_EQ(r.sink.packets.size(), 2u);
  EXPECT_EQ(r.sink.packets[0].serial, 1u);
  EXPECT_EQ(r.sink.packets[1].serial, 2u);
  EXPECT_EQ(r.sink.packets[1].packet.Status(), 0xC1);
  EXPECT_EQ(r.sink.packets[1].packet.X(), 110);
  EXPECT_EQ(r.sink.packets[1].packet.Pressure(), 900);
  EXPECT_EQ(r.sink.packets[1].packet.TiltA(), -5);
  EXPECT_EQ(r.sink.packets[1].time, 12u);
  EXPECT_EQ(r.ring.Block().Tail(), 2u);
  EXPECT_EQ(r.ring.Block().Head(), 2u);
  EXPECT_TRUE(r.client.Targeted());
  EXPECT_EQ(r.client.Drain(), 0u);  // nothing twice
}

TEST(ChannelClient, CountsTheSerialsAnOverflowingRingSkipped) {
  Rig r;
  r.service.window = 0x77;
  r.client.Poll();
  r.ring.Target(kProcess);
  r.ring.Write(test::RingWriter::Packet(0xC0, 1, 1, 0), 1);
  r.client.Drain();
  // 70 packets unread: the ring keeps the last 63.
  for (int i = 0; i < 70; ++i) r.ring.Write(test::RingWriter::Packet(0xC0, 2, 2, 0), 2);
  EXPECT_EQ(r.client.Drain(), 63u);
  ASSERT_EQ(r.sink.lost.size(), 64u);
  EXPECT_EQ(r.sink.lost[0], 0u);
  EXPECT_EQ(r.sink.packets[1].serial, 8u);
  EXPECT_EQ(r.sink.lost[1], 7u);
  EXPECT_EQ(r.sink.lost[2], 0u);
  EXPECT_EQ(r.client.Stats().lost, 7u);
  EXPECT_EQ(r.sink.packets.back().serial, 70u);
}

TEST(ChannelClient, AProgramKeepingTheMutexCostsAShortWaitAndThePacketsComeLater) {
  Rig r;
  r.service.window = 0x77;
  r.client.Poll();
  r.ring.Target(kProcess);
  r.ring.Write(test::RingWriter::Packet(0xC0, 1, 1, 0), 1);
  r.block.heldElsewhere = true;
  r.block.ClearWaits();
  EXPECT_EQ(r.client.Drain(), 0u);
  EXPECT_EQ(r.block.Waits(), (std::vector<uint32_t>{20}));
  EXPECT_EQ(r.client.Stats().lockMisses, 1u);
  r.block.heldElsewhere = false;
  r.client.Poll();
  EXPECT_EQ(r.sink.packets.size(), 1u);
}

TEST(ChannelClient, AServiceThatLeftLetsGoOfTheBlockAndOneThatComesBackIsRegisteredWithAgain) {
  Rig r;
  r.service.window = 0x77;
  r.client.Poll();
  r.ring.Target(kProcess);
  r.ring.Write(test::RingWriter::Packet(0xC0, 1, 1, 0), 1);
  r.ring.Write(test::RingWriter::Packet(0xC0, 1, 1, 0), 1);
  r.client.Drain();

  r.service.window = 0;
  r.client.Poll();
  EXPECT_FALSE(r.client.Connected());
  EXPECT_EQ(r.block.closes, 1);
  EXPECT_EQ(r.sink.service, (std::vector<bool>{true, false}));
  EXPECT_EQ(r.client.Drain(), 0u);

  // A new instance: a new window, serials from 0 again, a fresh block.
  std::fill(r.block.bytes.begin(), r.block.bytes.end(), 0);
  r.ring.serial = 0;
  r.service.window = 0x99;
  r.client.Poll();
  ASSERT_EQ(r.service.registrations.size(), 2u);
  EXPECT_EQ(r.service.registrations[1].service, 0x99u);
  EXPECT_EQ(r.block.opens, 2);
  r.ring.Target(kProcess);
  r.ring.Write(test::RingWriter::Packet(0xC1, 5, 5, 300), 1);
  EXPECT_TRUE(r.client.OnMessageA(0, 5));
  EXPECT_EQ(r.sink.packets.back().serial, 0u);
  EXPECT_EQ(r.sink.lost.back(), 0u);
  EXPECT_EQ(r.sink.service, (std::vector<bool>{true, false, true}));
}

TEST(ChannelClient, ADeselectionForgetsTheSerialsSoPacketsThatWentToAnotherProgramAreNotCountedLost) {
  Rig r;
  r.service.window = 0x77;
  r.client.Poll();
  r.ring.Target(kProcess);
  r.ring.serial = 40;
  r.ring.Write(test::RingWriter::Packet(0xC0, 1, 1, 0), 1);
  r.client.Drain();
  EXPECT_FALSE(r.client.OnMessageA(0, 0));  // another program has the packets now
  r.ring.Target(kProcess);
  r.ring.serial = 90;
  r.ring.Write(test::RingWriter::Packet(0xC0, 1, 1, 0), 1);
  EXPECT_TRUE(r.client.OnMessageA(0, 1));
  EXPECT_EQ(r.sink.lost.back(), 0u);  // the packets in between were another's
}

TEST(ChannelClient, ABlockSmallerThanTheLayoutIsNotRead) {
  Rig r;
  r.block.bytes.resize(100);
  r.service.window = 0x77;
  r.client.Poll();
  EXPECT_FALSE(r.client.Connected());
  EXPECT_EQ(r.block.closes, 1);
  EXPECT_EQ(r.client.Drain(), 0u);
}

TEST(ChannelClient, AFailedRegistrationIsTriedAgainAtTheNextPoll) {
  Rig r;
  r.service.window = 0x77;
  r.service.refusePost = true;
  r.client.Poll();
  EXPECT_FALSE(r.client.Connected());
  r.service.refusePost = false;
  r.client.Poll();
  EXPECT_TRUE(r.client.Connected());
  EXPECT_EQ(r.service.registrations.size(), 1u);
}

TEST(ChannelClient, FollowingTheServiceRegistersAndOpensTheBlockButReadsOnlyWhenAsked) {
  Rig r;
  r.service.window = 0x77;
  r.ring.Target(kProcess);
  r.ring.Write(test::RingWriter::Packet(0xC0, 1, 1, 0), 1);
  r.client.FollowService();
  EXPECT_EQ(r.service.registrations.size(), 1u);
  EXPECT_TRUE(r.client.BlockOpen());
  EXPECT_TRUE(r.sink.packets.empty());
  EXPECT_EQ(r.ring.Block().Tail(), 0u);
  EXPECT_EQ(r.client.Drain(), 1u);
  EXPECT_EQ(r.sink.slots, (std::vector<uint32_t>{0}));
}

TEST(ChannelClient, TellsWhichProcessTheHeaderNamedAndInWhichSlotEachPacketStood) {
  Rig r;
  r.service.window = 0x77;
  r.client.Poll();
  r.ring.Target(999);
  r.client.Drain();
  EXPECT_EQ(r.client.Target(), 999u);
  r.ring.Target(kProcess);
  for (int i = 0; i < 5; ++i) r.ring.Write(test::RingWriter::Packet(0xC0, 1, 1, 0), 1);
  r.client.Drain();
  r.ring.Write(test::RingWriter::Packet(0xC0, 1, 1, 0), 1);
  r.client.Drain();
  EXPECT_EQ(r.client.Target(), kProcess);
  EXPECT_EQ(r.sink.slots, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5}));
}

TEST(ChannelClient, InspectingShowsTheHeaderUnderTheMutexAndMovesNothing) {
  Rig r;
  uint32_t tail = 99, head = 99;
  auto look = [&](const TSharedBlock& b) {
    tail = b.Tail();
    head = b.Head();
  };
  EXPECT_FALSE(r.client.Inspect(look));  // no block yet
  r.service.window = 0x77;
  r.client.FollowService();
  r.ring.Target(kProcess);
  for (int i = 0; i < 3; ++i) r.ring.Write(test::RingWriter::Packet(0xC0, 1, 1, 0), 1);
  bool lockedMeanwhile = false;
  EXPECT_TRUE(r.client.Inspect([&](const TSharedBlock& b) {
    look(b);
    lockedMeanwhile = r.block.locked;
  }));
  EXPECT_TRUE(lockedMeanwhile);
  EXPECT_FALSE(r.block.locked);
  EXPECT_EQ(tail, 0u);
  EXPECT_EQ(head, 3u);
  EXPECT_TRUE(r.sink.packets.empty());
  r.block.heldElsewhere = true;
  tail = 99;
  EXPECT_FALSE(r.client.Inspect(look));
  EXPECT_EQ(tail, 99u);
  EXPECT_EQ(r.client.Stats().lockMisses, 1u);
}

TEST(ChannelClient, ALongerLockWaitIsAskedOfTheMutex) {
  Rig r;
  r.client.SetLockWait(1000);
  r.service.window = 0x77;
  r.client.FollowService();
  r.block.ClearWaits();
  r.client.Drain();
  r.client.Inspect([](const TSharedBlock&) {});
  EXPECT_EQ(r.block.Waits(), (std::vector<uint32_t>{1000, 1000}));
}

TEST(ChannelClient, AKeptBlockCarriesTheRegistrationOverToTheNextInstance) {
  Rig r;
  r.client.KeepBlockAcrossRestart(true);
  r.service.window = 0x77;
  r.client.Poll();
  r.ring.Target(kProcess);
  r.ring.serial = 30;
  r.ring.Write(test::RingWriter::Packet(0xC0, 1, 1, 0), 1);
  r.client.Poll();

  r.service.window = 0;
  r.client.Poll();
  EXPECT_FALSE(r.client.Connected());
  EXPECT_TRUE(r.client.BlockOpen());
  EXPECT_EQ(r.block.closes, 0);
  EXPECT_EQ(r.sink.service, (std::vector<bool>{true, false}));

  // The new instance restored the client table from the block: no second
  // registration, and its serials start again without counting as lost.
  r.service.window = 0x99;
  r.client.Poll();
  EXPECT_TRUE(r.client.Connected());
  EXPECT_EQ(r.service.registrations.size(), 1u);
  EXPECT_EQ(r.client.service, 0x99u);
  EXPECT_EQ(r.block.opens, 1);
  r.ring.Target(kProcess);
  r.ring.serial = 0;
  r.ring.Write(test::RingWriter::Packet(0xC1, 1, 1, 500), 1);
  EXPECT_TRUE(r.client.OnMessageA(0, 5));
  EXPECT_EQ(r.sink.packets.back().serial, 0u);
  EXPECT_EQ(r.sink.lost.back(), 0u);
  EXPECT_EQ(r.sink.service, (std::vector<bool>{true, false, true}));
}

TEST(ChannelClient, WithoutABlockHeldAcrossTheGapTheNextInstanceIsRegisteredWith) {
  Rig r;
  r.client.KeepBlockAcrossRestart(true);
  r.block.refuse = true;  // the service went before its block could be opened
  r.service.window = 0x77;
  r.client.Poll();
  EXPECT_FALSE(r.client.BlockOpen());
  r.service.window = 0;
  r.client.Poll();
  r.block.refuse = false;
  r.service.window = 0x99;
  r.client.Poll();
  ASSERT_EQ(r.service.registrations.size(), 2u);
  EXPECT_EQ(r.service.registrations[1].service, 0x99u);
  EXPECT_TRUE(r.client.Connected());
}

}  // namespace
}  // namespace pen
