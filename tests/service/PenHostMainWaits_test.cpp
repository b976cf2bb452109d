// What reaches the host while one of its waits runs messages: the mode
// report's retry second, the device-memory wait and the show delay. The
// messages are delivered at the moment the code waits, as the real loop does.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "PenHostMainFixture.h"
#include "pipeline/UsbCommRig.h"
#include "service/HostMessages.h"
#include "service/UsbCommLink.h"

namespace pen::test {
namespace {

// The host on the real device link, over a fake tablet and fake memory; the
// other parts are the fixture's fakes.
class HostOnLink : public PenHost {
 protected:
  UsbCommRig rig;
  std::optional<TUsbCommLink> link;
  std::optional<TPenHostMain> linked;

  void PlugTablet() { rig.AddTablet(0x2201, "Tablet [R711]"); }
  void CreateWithTablet() {
    rig.pad.SetAll(MakeBlock(1550, 29, 1, 0, 0));
    PlugTablet();
    rig.Create();
    link.emplace(*rig.link, nullptr);
    linked.emplace(Parts({.device = &*link, .clock = &rig.clock}));
  }
  void Unplug() {
    rig.hid.Leave(*rig.b);
    rig.hid.Leave(*rig.a);
  }
  // Mode reports (0, 1 or 3 in byte 1) that reached the current interface A.
  size_t ModeReports() const {
    return static_cast<size_t>(std::count_if(rig.a->features.begin(), rig.a->features.end(), [](auto& f) {
      return f.bytes.size() == 8 && (f.bytes[1] == 0 || f.bytes[1] == 1 || f.bytes[1] == 3);
    }));
  }
  size_t Calls(const std::string& what) const {
    return static_cast<size_t>(std::count(buttons.calls.begin(), buttons.calls.end(), what));
  }
};

TEST_F(HostOnLink, AnUnplugWhileTheConnectWaitsForItsModeReportIsHandledAndTheNextPlugInIsServed) {
  CreateWithTablet();
  rig.a->rejectFeatures = -1;  // the mode report waits a second for its retry...
  rig.clock.AtWait(1, [&] { Unplug(); });  // ...and the tablet is pulled meanwhile
  linked->Start();

  EXPECT_FALSE(linked->TabletConnected());
  EXPECT_EQ(tray.index, 1);
  EXPECT_EQ(buttons.calls, (std::vector<std::string>{"release"}));
  EXPECT_FALSE(window.tabletFound);
  EXPECT_EQ(window.firmware, "0");

  PlugTablet();
  rig.hid.Arrive();
  EXPECT_TRUE(linked->TabletConnected());
  EXPECT_EQ(tray.index, 0);
  EXPECT_GE(ModeReports(), 1u);
  EXPECT_EQ(rig.a->features.back().bytes[1], 6) << "the flags report ends the connect";
  EXPECT_EQ(Calls("load"), 1u);
  EXPECT_TRUE(window.tabletFound);
}

TEST_F(HostOnLink, AConnectRepeatedWhileTheConnectWaitsChangesNothingMore) {
  CreateWithTablet();
  rig.a->rejectFeatures = -1;
  // Another HID device arrives during the wait: the link reports the tablet
  // connected once more.
  rig.clock.AtWait(1, [&] {
    rig.hid.Add("\\\\?\\hid#vid_046d&pid_c077#1", 0x046D, 0xC077);
    rig.hid.Arrive();
  });
  linked->Start();
  EXPECT_TRUE(linked->TabletConnected());
  EXPECT_EQ(tray.index, 0);
  EXPECT_EQ(Calls("load"), 1u);
  EXPECT_EQ(Calls("model R711"), 1u);
  // Mode 3, then the area re-sends it: two reports, each tried twice.
  EXPECT_EQ(ModeReports(), 4u);
}

TEST_F(HostOnLink, AnUnplugAndAPlugInDuringOneWaitEndConnectedToTheNewTablet) {
  CreateWithTablet();
  FakeHidDevice* first = rig.a;
  rig.a->rejectFeatures = -1;
  rig.clock.AtWait(1, [&] {
    Unplug();
    PlugTablet();
    rig.hid.Arrive();
  });
  linked->Start();
  EXPECT_TRUE(linked->TabletConnected());
  EXPECT_EQ(tray.index, 0);
  EXPECT_EQ(Calls("release"), 1u);
  EXPECT_EQ(Calls("load"), 1u);
  EXPECT_NE(rig.a, first);
  EXPECT_GE(ModeReports(), 1u);
  EXPECT_TRUE(window.tabletFound);
}

TEST_F(HostOnLink, AnUnplugDuringTheMemoryWaitOfApplyLeavesMemoryAloneAndTheTrayRight) {
  CreateWithTablet();
  linked->Start();
  rig.ForgetCalls();
  rig.pad.detectFailures = 1;
  rig.clock.AtWait(1, [&] { Unplug(); });
  window.SetPressureLevel(40);
  linked->OnServiceCommand(host_cmd::kApplySettings, 0);
  EXPECT_EQ(rig.pad.Count("Read") + rig.pad.Count("Write") + rig.pad.Count("Erase"), 0);
  EXPECT_EQ(tray.index, 1);
  EXPECT_EQ(settings.writes, 1);  // the file still takes what the user applied
}

// --- the show delay ---------------------------------------------------------

using ShowDelay = PenHost;

TEST_F(ShowDelay, ABurstOfShowRequestsFromAnotherProgramShowsOnceWithoutNesting) {
  StartConnected();
  DeliverPosted();
  for (int i = 0; i < 500; ++i) shell.PostToSelf(host_msg::kShowSettings, 0, 0);
  clock.Run();
  EXPECT_EQ(window.shows, 1);
  EXPECT_LE(clock.deepest, 2);  // the show, and one request it absorbs at a time
  EXPECT_EQ(clock.Pending(), 0u);
  EXPECT_EQ(device.Count("mode 3"), 1u);

  // Once it is done, the next request shows again.
  shell.PostToSelf(host_msg::kShowSettings, 0, 0);
  clock.Run();
  EXPECT_EQ(window.shows, 2);
}

TEST_F(ShowDelay, ADisplayChangeDuringTheDelayStartsTheDisplayTimerAndTheShowGoesOn) {
  StartConnected();
  DeliverPosted();
  clock.AtWait(1, [&] { shell.PostToSelf(host_msg::kDisplayChange, 0, 0); });
  Send(host_msg::kShowSettings);
  EXPECT_TRUE(shell.displayTimer);
  EXPECT_EQ(window.shows, 1);
  EXPECT_FALSE(host.DisplayChangeTimerTick());
  EXPECT_EQ(pointer.refreshes, 1);
}

TEST_F(ShowDelay, AnUnplugDuringTheDelayShowsTheWindowWithTheTabletGone) {
  StartConnected();
  clock.AtWait(1, [&] { host.OnConnectChange(false); });
  Send(host_msg::kShowSettings);
  EXPECT_EQ(window.shows, 1);
  EXPECT_FALSE(window.tabletFound);
  EXPECT_EQ(tray.index, 1);
}

}  // namespace
}  // namespace pen::test
