// Which process the packets are meant for: pen-down under the cursor and
// foreground changes, and the messages that tell clients about it.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <utility>

#include "support/MapFileRig.h"

namespace pen::test {
namespace {

using Sent = FakeDesktopWindows::Sent;

class Targets : public ::testing::Test, protected MapFileRig {
 protected:
  void SetUp() override { Create(); }
};

TEST_F(Targets, PenDownOverAnotherProcessSwitchesTheTargetResetsTheRingAndTellsThePreviousClient) {
  Register(0x200, 200);  // Q: the window under the pen
  Register(0x100, 100);  // P: registered last, so the target
  windows.underCursor = 0x200;
  for (int i = 0; i < 3; ++i) Pen(0xC0);
  TSharedBlock b = Block();
  EXPECT_EQ(b.Head(), 3u);
  EXPECT_EQ(b.TargetProcess(), 100u);

  Pen(0xC1);
  EXPECT_EQ(b.TargetProcess(), 200u);
  EXPECT_EQ(channel->Target(), 0x200u);
  EXPECT_EQ(channel->PreviousTarget(), 0x100u);
  // Reset to 0, then the pen-down packet itself went into slot 0.
  EXPECT_EQ(b.Tail(), 0u);
  EXPECT_EQ(b.Head(), 1u);
  EXPECT_EQ(b.ReadSlot(0).packet.Status(), 0xC1);
  EXPECT_EQ(b.ReadSlot(0).serial, 3u);
  EXPECT_EQ(windows.To(0x100), (std::vector<Sent>{{false, 0x100, A(), 0, 0}}));

  // Lift and press again over the same window: nothing changes.
  Pen(0xC0);
  Pen(0xC1);
  EXPECT_EQ(b.Head(), 3u);
  EXPECT_EQ(windows.To(0x100).size(), 1u);
  EXPECT_TRUE(windows.To(0x200).empty());
}

TEST_F(Targets, OnlyTheTipOrAButtonGoingDownInRangeLooksUnderThePen) {
  Pen(0xC0);
  Pen(0xC0);
  Pen(0x80);
  Pen(0xC1);  // after a left packet: not in range before
  EXPECT_EQ(windows.cursorLookups, 0);
  Pen(0xC1);
  Pen(0xC0);
  Pen(0xC4);  // second side button
  EXPECT_EQ(windows.cursorLookups, 1);
  Pen(0xC0);
  Pen(0xD1);  // bit 4 plays no part: a tip press
  Pen(0xD0);
  Pen(0xC2);
  EXPECT_EQ(windows.cursorLookups, 3);
}

TEST_F(Targets, TheLastRegisteredLiveWindowOfTheProcessIsPicked) {
  Register(0x201, 200);
  Register(0x202, 200);
  Register(0x203, 200);
  Register(0x100, 100);
  windows.CloseWindow(0x203);
  windows.underCursor = 0x999;
  windows.AddWindow(0x999, 200);
  Pen(0xC0);
  Pen(0xC1);
  EXPECT_EQ(channel->Target(), 0x202u);
  // The read thread cleaned a copy; the table itself is the main thread's.
  EXPECT_EQ(channel->Clients().Count(), 4u);
  channel->SelectForegroundClient(0x999, 0);
  EXPECT_EQ(channel->Clients().Count(), 3u);
}

TEST_F(Targets, AFlaggedClientBeforeVistaGetsAPressForTheButtonsHeld) {
  windowsMajor = 5;
  Create();
  Register(0x200, 200);
  channel->HandleChannelMessage(B(), 0x200, 0);
  Register(0x100, 100);
  windows.underCursor = 0x200;
  Pen(0xC0);
  Pen(0xC7);
  EXPECT_EQ(channel->TargetFlag(), 1);
  ASSERT_EQ(mouse.flags.size(), 1u);
  EXPECT_EQ(mouse.flags[0], mouse_flags::kLeftDown | mouse_flags::kRightDown | mouse_flags::kMiddleDown);

  // From Vista on, the flag is kept but no press is made.
  windowsMajor = 10;
  Create();
  Register(0x200, 200);
  channel->HandleChannelMessage(B(), 0x200, 0);
  Register(0x100, 100);
  Pen(0xC0);
  Pen(0xC1);
  EXPECT_EQ(channel->TargetFlag(), 1);
  EXPECT_EQ(mouse.flags.size(), 1u);
}

TEST_F(Targets, PenDownOnTheWindowOfTheClientThatJustRegisteredKeepsItsPackets) {
  Register(0x100, 100);
  windows.underCursor = 0x100;
  for (int i = 0; i < 3; ++i) Pen(0xC0);
  Pen(0xC1);
  EXPECT_EQ(Block().Head(), 4u);
  EXPECT_EQ(channel->Target(), 0x100u);
  EXPECT_TRUE(windows.To(0x100).empty());
}

// --- foreground changes -----------------------------------------------------

TEST_F(Targets, AForegroundClientIsSelectedAndToldWhileThePreviousOneIsToldItLostThePackets) {
  Register(0x100, 100);
  Register(0x200, 200);  // target now
  for (int i = 0; i < 3; ++i) Pen(0xC0);
  EXPECT_TRUE(channel->SelectForegroundClient(0x100, 0x200));
  TSharedBlock b = Block();
  EXPECT_EQ(b.TargetProcess(), 100u);
  EXPECT_EQ(b.Tail(), 0u);
  EXPECT_EQ(b.Head(), 0u);
  EXPECT_EQ(channel->Target(), 0x100u);
  EXPECT_EQ(windows.To(0x200), (std::vector<Sent>{{true, 0x200, A(), 0, 0}}));
  EXPECT_EQ(windows.To(0x100), (std::vector<Sent>{{true, 0x100, A(), 0, 1}}));

  // Selected again with an unchanged foreground: nobody is told anything.
  windows.sent.clear();
  EXPECT_TRUE(channel->SelectForegroundClient(0x100, 0x100));
  EXPECT_TRUE(windows.sent.empty());

  // Pen-down on the foreground window itself does not re-target.
  windows.underCursor = 0x100;
  Pen(0xC0);
  Pen(0xC1);
  EXPECT_EQ(windows.cursorLookups, 1);
  EXPECT_EQ(b.Head(), 2u);
}

TEST_F(Targets, AForegroundProgramThatIsNoClientLeavesNoTarget) {
  Register(0x100, 100);
  windows.AddWindow(0x300, 300);
  EXPECT_FALSE(channel->SelectForegroundClient(0x300, 0x100));
  EXPECT_EQ(channel->Target(), 0u);
  EXPECT_EQ(Block().TargetProcess(), 300u);
  EXPECT_EQ(windows.To(0x100), (std::vector<Sent>{{true, 0x100, A(), 0, 0}}));
  // Packets still go into the ring for that process.
  Pen(0xC0);
  EXPECT_EQ(Block().Head(), 1u);

  windowsMajor = 5;
  Create();
  windows.AddWindow(0x300, 300);
  EXPECT_TRUE(channel->SelectForegroundClient(0x300, 0));
  EXPECT_EQ(channel->TargetFlag(), 0);
}

TEST_F(Targets, TheServiceSettingsWindowCountsAsAClientWhenInFront) {
  channel->RegisterOwnWindow(0x5000);
  windows.AddWindow(0x5000, 4000);
  EXPECT_TRUE(channel->SelectForegroundClient(0x5000, 0x100));
  EXPECT_EQ(channel->Target(), 0x5000u);
}


// --- a pen-down and a foreground change at the same time --------------------

// The header, the channel's target process and the window that gets the
// packet notices must name one process whatever the order.
void ExpectOneTarget(MapFileRig& rig) {
  const uint32_t header = rig.Block().TargetProcess();
  EXPECT_EQ(rig.channel->TargetProcess(), header);
  EXPECT_EQ(rig.windows.ProcessOf(rig.channel->Target()), header);
  // The next packet's notice goes to that process's client.
  TSharedBlock(rig.objects.bytes.data(), rig.objects.bytes.size()).SetTail(5);
  rig.windows.sent.clear();
  rig.Pen(0xC1);
  const auto sent = rig.windows.sent;
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(rig.windows.ProcessOf(sent[0].window), header);
}

// Runs `step` on a second thread from inside the first thread's look-up of
// the client table, and lets the first thread go on once the second has
// finished or is waiting for the lock the first one holds.
struct Interleave {
  Interleave(MapFileRig& r, std::function<void()> s) : rig(r), step(std::move(s)) {}
  MapFileRig& rig;
  std::function<void()> step;
  std::thread other;
  std::atomic<bool> done{false};
  bool started = false;

  void Arm() {
    const std::thread::id first = std::this_thread::get_id();
    rig.windows.onExists = [this, first] {
      if (started || std::this_thread::get_id() != first) return;
      started = true;
      other = std::thread([this] {
        step();
        done = true;
      });
      while (!done.load() && rig.objects.blocked.load() == 0) std::this_thread::yield();
    };
  }
  void Join() {
    if (other.joinable()) other.join();
    rig.windows.onExists = {};
  }
};

TEST_F(Targets, AForegroundChangeInTheMiddleOfAPenDownLeavesHeaderAndNoticesWithOneProcess) {
  Register(0x200, 200);  // under the pen
  Register(0x100, 100);  // the target so far
  windows.AddWindow(0x300, 300);
  Register(0x301, 300);  // the foreground program's client
  channel->SelectForegroundClient(0x100, 0);
  windows.underCursor = 0x200;
  Pen(0xC0);
  Interleave main{*this, [this] { channel->SelectForegroundClient(0x300, 0x100); }};
  main.Arm();
  Pen(0xC1);  // a read thread's pen-down
  main.Join();
  ASSERT_TRUE(main.started);
  ExpectOneTarget(*this);
}

TEST_F(Targets, APenDownInTheMiddleOfAForegroundChangeLeavesHeaderAndNoticesWithOneProcess) {
  Register(0x200, 200);
  Register(0x100, 100);
  windows.AddWindow(0x300, 300);
  Register(0x301, 300);
  channel->SelectForegroundClient(0x100, 0);
  windows.underCursor = 0x200;
  Pen(0xC0);
  Interleave reader{*this, [this] { Pen(0xC1); }};
  reader.Arm();
  channel->SelectForegroundClient(0x300, 0x100);
  reader.Join();
  ASSERT_TRUE(reader.started);
  ExpectOneTarget(*this);
}

}  // namespace
}  // namespace pen::test
