// The host with the real shared channel and foreground watch on fake system
// objects: the report-mode policy as drawing programs come and go, also
// when their messages arrive inside the host's message-processing waits.
#include <gtest/gtest.h>

#include <memory>

#include "pipeline/HookSysEvent.h"
#include "pipeline/UsbComm.h"
#include "service/UsbCommLink.h"
#include "support/FakeHid.h"
#include "support/FakePadLink.h"
#include "support/HostRig.h"
#include "support/MapFileRig.h"

namespace pen::test {
namespace {

using Sent = FakeDesktopWindows::Sent;
constexpr uintptr_t kClient = 0x100, kOther = 0x300;

struct NoBeeps : IBeeper {
  void Beep() override {}
};

class HostChannel : public ::testing::Test, protected HostRig<FakeClock> {
 protected:
  MapFileRig rig;
  FakeWinEventSource events;
  FakeHidController hid;
  FakeHidDevice* a = nullptr;
  FakePadLink pad;
  NoBeeps beeper;
  std::unique_ptr<TUsbComm> usb;
  std::unique_ptr<TUsbCommLink> link;
  std::unique_ptr<TMyHook> hook;
  std::unique_ptr<TPenHostMain> host;
  size_t delivered = 0;

  void SetUp() override {
    settings.values.inkMode = 0;
    a = &hid.AddInterfaceA(0x2201);
    a->ticks = &clock;
    hid.AddInterfaceB(0x2201);
    rig.windows.AddWindow(kClient, 100);
    rig.windows.AddWindow(kOther, 300);
    rig.windows.AddWindow(window.handle, rig.windows.ownProcess);
    rig.Create();
    hook = std::make_unique<TMyHook>(events, rig.windows);
    pad.ticks = &clock;
    usb = std::make_unique<TUsbComm>(hid, &pad, clock, beeper);
    link = std::make_unique<TUsbCommLink>(*usb, nullptr);
    host = std::make_unique<TPenHostMain>(
        Parts({.device = link.get(), .channel = rig.channel.get(), .foreground = hook.get()}));
    host->Start();
    hook->SetCommandTarget(shell.OwnWindow());
  }

  void Send(uint32_t msg, uint64_t w, int64_t l) {
    intptr_t r = 0;
    host->HandleMessage(msg, w, l, r);
  }
  // What the watch posted to the service window reaches it.
  void DeliverPosted() {
    // Handlers may post more, and deliver them, while one is handled.
    while (delivered < rig.windows.sent.size()) {
      const Sent s = rig.windows.sent[delivered++];
      if (s.posted && s.window == shell.OwnWindow()) Send(s.msg, s.wparam, s.lparam);
    }
  }
  void BringToFront(uintptr_t w) {
    rig.windows.foreground = w;
    events.Raise(TMyHook::kEventForeground);
    DeliverPosted();
  }
  uint8_t LastMode() const {
    for (auto it = a->features.rbegin(); it != a->features.rend(); ++it) {
      const auto& b = it->bytes;
      if (b.size() == 8 && (b[1] == 0 || b[1] == 1 || b[1] == 3)) return b[1];
    }
    return 0xFF;
  }
};

TEST_F(HostChannel, ARegisteredClientInFrontGetsFullModeAndLeavingItGivesBasicMode) {
  EXPECT_EQ(LastMode(), 1);
  Send(rig.A(), kClient, 100);
  BringToFront(kClient);
  EXPECT_EQ(host->CurrentForeground(), kClient);
  EXPECT_EQ(LastMode(), 3);
  EXPECT_EQ(rig.channel->Target(), kClient);
  BringToFront(kOther);
  EXPECT_EQ(LastMode(), 1);
  EXPECT_EQ(rig.channel->Target(), 0u);
  EXPECT_EQ(rig.windows.To(kClient), (std::vector<Sent>{{true, kClient, rig.A(), 0, 1}, {true, kClient, rig.A(), 0, 0}}));
}

TEST_F(HostChannel, ARegistrationAndAForegroundChangeDuringTheShowWaitAreBothKept) {
  clock.onProcessMessages = [this] {
    clock.onProcessMessages = nullptr;
    Send(rig.A(), kClient, 100);
    BringToFront(kClient);
  };
  host->MenuShowClick();
  const TClientTable t = rig.channel->Clients();
  ASSERT_EQ(t.Count(), 2u);
  EXPECT_EQ(t.At(0).window, window.handle);  // the settings window, before the wait
  EXPECT_EQ(t.At(1).window, kClient);
  EXPECT_EQ(rig.channel->Target(), kClient);
  EXPECT_TRUE(rig.channel->ClientPresent());
  EXPECT_EQ(LastMode(), 3);
  EXPECT_EQ(window.shows, 1);
}

TEST_F(HostChannel, ARegistrationDuringTheDeviceMemoryWaitOfApplyIsKept) {
  pad.detectFailures = 1;  // the memory answers only at the second try
  clock.onProcessMessages = [this] {
    clock.onProcessMessages = nullptr;
    Send(rig.A(), kClient, 100);
    BringToFront(kClient);
  };
  const int detectsBefore = pad.Count("Detect");
  Send(host_msg::kServiceCommand, 0, host_cmd::kApplySettings);
  EXPECT_GE(pad.Count("Detect"), detectsBefore + 2);  // it did wait
  EXPECT_EQ(clock.onProcessMessages, nullptr);
  EXPECT_EQ(rig.channel->Clients().Count(), 1u);
  EXPECT_EQ(rig.channel->Target(), kClient);
  EXPECT_TRUE(rig.channel->ClientPresent());
  EXPECT_EQ(host->CurrentForeground(), kClient);
  EXPECT_EQ(settings.writes, 1);
}

TEST_F(HostChannel, AForegroundChangeDuringTheModeRetryLeavesTheTabletInTheModeOfTheNewestForeground) {
  Send(rig.A(), kClient, 100);
  a->rejectFeatures = 1;  // the mode report for the client is refused once
  clock.onProcessMessages = [this] {
    clock.onProcessMessages = nullptr;
    BringToFront(kOther);
  };
  BringToFront(kClient);
  EXPECT_EQ(LastMode(), 1);
  EXPECT_FALSE(rig.channel->ClientPresent());
  EXPECT_EQ(rig.channel->Target(), 0u);
  EXPECT_EQ(host->CurrentForeground(), kOther);
  EXPECT_EQ(rig.channel->TargetProcess(), 300u);
}

TEST_F(HostChannel, ShutDownKeepsTheClientsInTheBlockAndUnhooks) {
  Send(rig.A(), kClient, 100);
  host->ShutdownPipeline();
  EXPECT_EQ(rig.Block().SavedCount(), 1);
  EXPECT_EQ(rig.Block().ReadSaved(0).process, 100u);
  EXPECT_FALSE(events.installed);
  EXPECT_FALSE(rig.channel->Publishing());
}

}  // namespace
}  // namespace pen::test
