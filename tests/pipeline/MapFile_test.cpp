// The shared channel's life: opening the block, the client table across a
// restart, registrations, and running without a block.
#include "pipeline/MapFile.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/MapFileRig.h"

namespace pen::test {
namespace {

class MapFile : public ::testing::Test, protected MapFileRig {};

TEST_F(MapFile, ANewBlockIsZeroedAndTheMessagesAreRegisteredAndAdmittedFromLowerIntegrity) {
  std::fill(objects.bytes.begin(), objects.bytes.end(), 0xAA);
  Create();
  EXPECT_TRUE(channel->Publishing());
  EXPECT_TRUE(std::all_of(objects.bytes.begin(), objects.bytes.end(), [](uint8_t b) { return b == 0; }));
  ASSERT_EQ(windows.registered.size(), 2u);
  EXPECT_EQ(A(), windows.registered.at("AMBER_HERON_2005"));
  EXPECT_EQ(B(), windows.registered.at("COPPER_HERON_2015"));
  EXPECT_EQ(windows.acceptedFromLower, (std::vector<uint32_t>{A(), B()}));
  EXPECT_FALSE(channel->ClientPresent());
  EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(MapFile, BeforeVistaEveryProgramCountsAsAClientAndNoFilterIsTouched) {
  windowsMajor = 5;
  Create();
  EXPECT_TRUE(channel->ClientPresent());
  EXPECT_TRUE(windows.acceptedFromLower.empty());
}

TEST_F(MapFile, StartingWhileAClientHoldsTheBlockRestoresItsTableOnceWithOneBeep) {
  windows.AddWindow(0x300, 300);
  objects.existed = true;
  TSharedBlock block = Block();
  block.SetTargetProcess(300);
  block.SetTail(7);
  block.SetHead(9);
  block.SetSavedCount(3);
  block.WriteSaved(0, {0x300, 300, 1});
  block.WriteSaved(1, {0x301, 301, 0});  // that window is gone
  block.WriteSaved(2, {0x300, 300, 0});  // the same window twice: kept once
  Create();
  EXPECT_EQ(beeper.beeps, 1);
  EXPECT_EQ(channel->RestoredClients(), 3u);
  const TClientTable t = channel->Clients();
  ASSERT_EQ(t.Count(), 1u);
  EXPECT_EQ(t.At(0).window, 0x300u);
  EXPECT_EQ(t.At(0).flag, 1);
  // The header and ring are left as the clients know them.
  EXPECT_EQ(block.Tail(), 7u);
  EXPECT_EQ(block.Head(), 9u);
  EXPECT_EQ(block.TargetProcess(), 300u);
}

TEST_F(MapFile, AnExistingBlockWithNoSavedClientsRestoresNothingSilently) {
  objects.existed = true;
  Block().SetHead(4);
  Create();
  EXPECT_EQ(beeper.beeps, 0);
  EXPECT_EQ(channel->Clients().Count(), 0u);
  EXPECT_EQ(Block().Head(), 4u);
}

TEST_F(MapFile, ASavedCountOutsideTheTableIsACorruptBlockThatIsClearedWithoutABeep) {
  for (int32_t count : {64, 1000, -1, INT32_MIN}) {
    objects.existed = true;
    std::fill(objects.bytes.begin(), objects.bytes.end(), 0x11);
    Block().SetSavedCount(count);
    beeper.beeps = 0;
    Create();
    EXPECT_EQ(beeper.beeps, 0) << count;
    EXPECT_EQ(channel->Clients().Count(), 0u) << count;
    EXPECT_TRUE(std::all_of(objects.bytes.begin(), objects.bytes.end(), [](uint8_t b) { return b == 0; })) << count;
  }
}

TEST_F(MapFile, ShutDownSavesTheTableForTheNextStartWhichFindsItsClientsAgain) {
  Create();
  Register(0x100, 100);
  Register(0x200, 200);
  channel->HandleChannelMessage(B(), 0x200, 0);
  // A 64-bit handle whose low word has the top bit set: saved as 4 bytes and
  // widened back the way the system widens handles.
  const uintptr_t high = TMapFile::WindowFromWord(0x80001234u);
  Register(high, 300);
  channel->Close();
  EXPECT_EQ(objects.closes, 1);
  TSharedBlock block = Block();
  EXPECT_EQ(block.SavedCount(), 3);
  EXPECT_EQ(objects.bytes[1168], 0x00);
  EXPECT_EQ(objects.bytes[1169], 0x01);
  EXPECT_EQ(block.ReadSaved(0).process, 100u);
  EXPECT_EQ(block.ReadSaved(1).flag, 1);
  EXPECT_EQ(block.ReadSaved(2).window, 0x80001234u);
  // Nothing goes out after shut-down.
  Pen(0xC0);
  EXPECT_EQ(block.Head(), 0u);

  objects.existed = true;
  Create();
  EXPECT_EQ(beeper.beeps, 3 + 1);  // three registrations, one restore
  ASSERT_EQ(channel->Clients().Count(), 3u);
  EXPECT_EQ(channel->Clients().At(2).window, high);
  // Targeted again without registering anew, the client is woken.
  windows.underCursor = 0x200;
  Pen(0xC0);
  Pen(0xC1);
  EXPECT_EQ(channel->Target(), 0x200u);
  TSharedBlock(objects.bytes.data(), objects.bytes.size()).SetTail(1);
  Pen(0xC1);
  EXPECT_EQ(PacketNotices(0x200), (std::vector<uint64_t>{2}));
}

TEST_F(MapFile, WithoutItsBlockTheChannelWritesNothingButStillKnowsItsClients) {
  objects.refuse = true;
  Create();
  EXPECT_FALSE(channel->Publishing());
  Register(0x100, 100);
  windows.foreground = 0x100;
  EXPECT_TRUE(channel->SelectForegroundClient(0x100, 0));
  windows.underCursor = 0x100;
  Pen(0xC1);
  channel->OnProximityTimer();
  channel->Close();
  EXPECT_EQ(objects.locks, 0);
  EXPECT_EQ(objects.closes, 0);
  EXPECT_FALSE(timer.running);
}

TEST_F(MapFile, ABlockSomeoneMadeSmallerIsGivenBackUnused) {
  objects.existed = true;
  objects.bytes.assign(100, 0x5A);  // the sanitizer catches any access beyond
  Create();
  EXPECT_FALSE(channel->Publishing());
  EXPECT_EQ(objects.closes, 1);
  Register(0x100, 100);
  Pen(0xC0);
  channel->Close();
  EXPECT_TRUE(std::all_of(objects.bytes.begin(), objects.bytes.end(), [](uint8_t b) { return b == 0x5A; }));
  EXPECT_EQ(beeper.beeps, 1);  // the registration only
}

// --- another program keeps the named mutex ----------------------------------

// A client reading the ring may keep the mutex for 150 ms; the service must
// still look alive to a caller that gives it 1 s.
constexpr uint32_t kClientHoldMs = 150;
constexpr uint32_t kAnswerWithinMs = 1000;

TEST_F(MapFile, AMutexKeptElsewhereCostsOneBoundedWaitThenPacketsAreOnlyTriedAndDroppedUntilItIsFree) {
  Create();
  Register(0x100, 100);
  Pen(0xC0);  // serial 0
  objects.ClearWaits();
  objects.heldElsewhere = true;
  for (int i = 0; i < 5; ++i) Pen(0xC0, 0x100);
  const std::vector<uint32_t> waits = objects.Waits();
  ASSERT_EQ(waits.size(), 5u);
  EXPECT_GT(waits[0], kClientHoldMs);
  EXPECT_LT(waits[0], kAnswerWithinMs);
  for (size_t i = 1; i < waits.size(); ++i) EXPECT_EQ(waits[i], 0u) << i;
  EXPECT_EQ(channel->DroppedPackets(), 5u);
  EXPECT_EQ(Block().Head(), 1u);

  // Free again: the next packet is published, the serials go on.
  objects.heldElsewhere = false;
  objects.ClearWaits();
  Pen(0xC0, 0x200);
  Pen(0xC0, 0x300);
  EXPECT_EQ(objects.Waits(), (std::vector<uint32_t>{0, waits[0]}));
  EXPECT_EQ(Block().Head(), 3u);
  EXPECT_EQ(Block().ReadSlot(1).serial, 1u);
  EXPECT_EQ(Block().ReadSlot(2).serial, 2u);
  EXPECT_EQ(channel->DroppedPackets(), 5u);
}

TEST_F(MapFile, TheMainThreadNeverWaitsUnboundedAndFinishesWhatTheMutexHeldUpOnceItIsFree) {
  Create();
  Register(0x100, 100);
  Register(0x200, 200);
  windows.foreground = 0x100;
  Pen(0xC0);
  Pen(0xC0);
  objects.heldElsewhere = true;
  timer.running = false;
  // A foreground change: the decision is made, the header waits.
  EXPECT_TRUE(channel->SelectForegroundClient(0x100, 0x200));
  EXPECT_EQ(channel->Target(), 0x100u);
  EXPECT_EQ(Block().TargetProcess(), 200u);
  EXPECT_EQ(Block().Head(), 2u);
  EXPECT_TRUE(timer.running);
  // The left packet is owed: the tick finds the mutex taken and comes back.
  counter.AdvanceMs(600);
  channel->OnProximityTimer();
  EXPECT_TRUE(timer.running);
  EXPECT_LT(timer.period, TMapFile::kProximityMs);
  channel->OnProximityTimer();
  EXPECT_TRUE(timer.running);
  for (uint32_t w : objects.Waits()) EXPECT_LT(w, kAnswerWithinMs);

  objects.heldElsewhere = false;
  channel->OnProximityTimer();
  TSharedBlock b = Block();
  EXPECT_EQ(b.TargetProcess(), 100u);
  // Reset, then the left packet into slot 0.
  EXPECT_EQ(b.Tail(), 0u);
  EXPECT_EQ(b.Head(), 1u);
  EXPECT_EQ(b.ReadSlot(0).packet.Status(), 0x80);
  EXPECT_EQ(b.ReadSlot(0).serial, 2u);
  EXPECT_FALSE(timer.running);
}

TEST_F(MapFile, ARegistrationWhileTheMutexIsKeptReachesTheHeaderBeforeTheNextPacket) {
  Create();
  objects.heldElsewhere = true;
  Register(0x100, 100);
  EXPECT_EQ(channel->Target(), 0x100u);
  EXPECT_EQ(Block().TargetProcess(), 0u);
  objects.heldElsewhere = false;
  Pen(0xC0);
  EXPECT_EQ(Block().TargetProcess(), 100u);
  EXPECT_EQ(Block().Head(), 1u);
  EXPECT_EQ(PacketNotices(0x100), (std::vector<uint64_t>{}));
}

TEST_F(MapFile, APenDownWhosePacketIsDroppedIsFollowedByTheNextPacketThatGetsThrough) {
  Create();
  Register(0x200, 200);
  Register(0x100, 100);
  windows.underCursor = 0x200;
  Pen(0xC0);
  objects.heldElsewhere = true;
  Pen(0xC1);
  EXPECT_EQ(channel->Target(), 0x100u);
  objects.heldElsewhere = false;
  Pen(0xC1);
  EXPECT_EQ(channel->Target(), 0x200u);
  EXPECT_EQ(Block().TargetProcess(), 200u);
  EXPECT_EQ(Block().Head(), 1u);
  // Lifted before any packet of a press got through: nothing to follow.
  Pen(0xC0);
  windows.underCursor = 0x100;
  objects.heldElsewhere = true;
  Pen(0xC1);
  objects.heldElsewhere = false;
  Pen(0xC0);
  EXPECT_EQ(channel->Target(), 0x200u);
}

TEST_F(MapFile, StartAndShutDownWhileTheMutexIsKeptDoNotWaitForItAndTheSavedClientsComeLater) {
  windows.AddWindow(0x300, 300);
  objects.existed = true;
  Block().SetSavedCount(1);
  Block().WriteSaved(0, {0x300, 300, 1});
  objects.heldElsewhere = true;
  Create();
  EXPECT_TRUE(channel->Publishing());
  EXPECT_EQ(channel->Clients().Count(), 0u);
  EXPECT_EQ(beeper.beeps, 0);
  EXPECT_TRUE(timer.running);
  channel->OnProximityTimer();
  EXPECT_EQ(channel->Clients().Count(), 0u);
  objects.heldElsewhere = false;
  channel->OnProximityTimer();
  ASSERT_EQ(channel->Clients().Count(), 1u);
  EXPECT_EQ(channel->Clients().At(0).flag, 1);
  EXPECT_EQ(beeper.beeps, 1);
  EXPECT_FALSE(timer.running);

  // Shut-down with the mutex kept: nothing saved, nothing waited for.
  Block().SetSavedCount(0);
  objects.heldElsewhere = true;
  channel->Close();
  EXPECT_EQ(Block().SavedCount(), 0);
  EXPECT_EQ(objects.closes, 1);
  for (uint32_t w : objects.Waits()) EXPECT_LT(w, kAnswerWithinMs);
}

// --- messages A and B -------------------------------------------------------

TEST_F(MapFile, MessageARegistersWithABeepAndMakesTheSenderTheTarget) {
  Create();
  Register(0x100, 100);
  EXPECT_EQ(beeper.beeps, 1);
  EXPECT_EQ(channel->Target(), 0x100u);
  EXPECT_EQ(Block().TargetProcess(), 100u);
  ASSERT_EQ(channel->Clients().Count(), 1u);
  EXPECT_EQ(channel->Clients().At(0).process, 100u);
  EXPECT_EQ(channel->Clients().At(0).flag, 0);
  // Again from the same window: a beep, but still one entry.
  Register(0x100, 100);
  EXPECT_EQ(beeper.beeps, 2);
  EXPECT_EQ(channel->Clients().Count(), 1u);
}

TEST_F(MapFile, MessageAWithoutAProcessRegistersNothingButStillSetsTheTarget) {
  Create();
  Register(0x100, 100);
  EXPECT_TRUE(channel->HandleChannelMessage(A(), 0x222, 0));
  EXPECT_EQ(beeper.beeps, 1);
  EXPECT_EQ(channel->Clients().Count(), 1u);
  EXPECT_EQ(channel->Target(), 0x222u);
  EXPECT_EQ(Block().TargetProcess(), 0u);
}

TEST_F(MapFile, The64thDistinctRegistrationIsIgnored) {
  Create();
  for (uint32_t i = 0; i < 64; ++i) Register(0x1000 + i, 100 + i);
  const TClientTable t = channel->Clients();
  EXPECT_EQ(t.Count(), 63u);
  EXPECT_EQ(t.FindLast(100 + 63), nullptr);
  EXPECT_NE(t.FindLast(100 + 62), nullptr);
  channel->Close();
  EXPECT_EQ(Block().SavedCount(), 63);
}

TEST_F(MapFile, MessageBFlagsAKnownWindowAndIsTakenForAnUnknownOne) {
  Create();
  Register(0x100, 100);
  EXPECT_TRUE(channel->HandleChannelMessage(B(), 0x100, 0));
  EXPECT_TRUE(channel->HandleChannelMessage(B(), 0x999, 0));
  const TClientTable t = channel->Clients();
  ASSERT_EQ(t.Count(), 1u);
  EXPECT_EQ(t.At(0).flag, 1);
  EXPECT_FALSE(channel->HandleChannelMessage(0x0401, 0x100, 100));
  EXPECT_FALSE(channel->HandleChannelMessage(0, 0x100, 100));
}

TEST_F(MapFile, WithoutRegisteredMessagesNoMessageIsTaken) {
  windows.refuseRegistration = true;
  Create();
  EXPECT_FALSE(channel->HandleChannelMessage(0, 0x100, 100));
  EXPECT_EQ(channel->Clients().Count(), 0u);
  EXPECT_TRUE(windows.acceptedFromLower.empty());
}

TEST_F(MapFile, TheOwnSettingsWindowIsAClientOfTheServiceProcessOnce) {
  Create();
  channel->RegisterOwnWindow(0x5000);
  channel->RegisterOwnWindow(0x5000);
  channel->RegisterOwnWindow(0);  // no window yet
  const TClientTable t = channel->Clients();
  ASSERT_EQ(t.Count(), 1u);
  EXPECT_EQ(t.At(0).process, 4000u);
  EXPECT_EQ(beeper.beeps, 0);
}

}  // namespace
}  // namespace pen::test
