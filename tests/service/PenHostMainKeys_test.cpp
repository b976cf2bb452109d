// The host with the real button manager and wheel overlay: both report paths
// reach the keys, WM_WHEELUI reaches the wheel, commands 6 and 9, the
// disconnect and the shut-down reach the definitions.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "keys/ButtonManager.h"
#include "keys/WheelUI.h"
#include "pipeline/ReportEncoder.h"
#include "support/FakeKeyboardLayout.h"
#include "support/FakeTimers.h"
#include "support/HostRig.h"
#include "support/MemoryFiles.h"
#include "support/QuietPorts.h"
#include "support/RecordingInput.h"

namespace pen::test {
namespace {

using Events = std::vector<std::string>;

class HostKeys : public ::testing::Test, protected HostRig<FakeClock> {
 protected:
  FakeTimerQueue timers{clock};
  FakeTimer repeatTimer{timers}, stepTimer{timers}, holdTimer{timers};
  RecordingInput input;
  FakeKeyboardLayout layout;
  SilentVolume volume;
  NoWaitClock workerClock;
  TTracedLauncher launcher{nullptr, nullptr};
  MemoryFileStore store;
  MemoryDataFiles files{store};
  MemoryIniFileSystem ini{store};
  FixedFolders folders;
  TNullWheelFaces faces;
  TNullNoticeWindow notice;
  // The wheel settings window: modal, `whileOpen` is what arrives during
  // its own loop.
  class : public IWheelSettingsWindow {
   public:
    TModalGate* gate = nullptr;
    int opened = 0;
    std::function<void()> whileOpen;
    ICustomKeyWindow& CustomKeyWindow() override { return customKey; }
    bool Showing() const override { return showing; }
    void ShowModal(TWheelData&) override {
      const TModalGate::TScope modal(*gate, TModalGate::Loop::kModal);
      ++opened;
      showing = true;
      if (whileOpen) whileOpen();
      showing = false;
    }
    void ScrollWheel(uint8_t) override {}
    void CloseWindow() override { showing = false; }
    void ShowCurrentFunction(int) override {}
    bool showing = false;
    TNullCustomKeyWindow customKey;
  } wheelWindow;
  TModalGate gate;
  class : public IForegroundWindows {
    uintptr_t Foreground() override { return 0; }
    void SetForeground(uintptr_t) override {}
  } foregroundWindows;
  TShellPoster poster{shell};
  std::unique_ptr<TButtonManager> manager;
  std::unique_ptr<TWheelUI> wheelUI;
  std::unique_ptr<TPenHostMain> host;

  void Start(const std::string& model) {
    manager = std::make_unique<TButtonManager>(
        ButtonManagerPorts{{input, layout}, volume, launcher, files, folders, repeatTimer, nullptr});
    manager->SetOwner(&poster);
    wheelUI = std::make_unique<TWheelUI>(WheelUIPorts{ini, folders, stepTimer, holdTimer, clock, faces, notice,
                                                      wheelWindow, foregroundWindows,
                                                      WheelFunctionPorts{{input, layout}, volume, workerClock, nullptr},
                                                      &gate, &poster});
    wheelWindow.gate = &gate;
    host = std::make_unique<TPenHostMain>(Parts({.buttons = manager.get(), .wheel = wheelUI.get()}));
    device.model = model;
    device.connected = true;
    host->Start();
  }
  void KeysA(uint8_t wheelValue, uint16_t keys) {
    const auto d = WithoutReportId(EncodeVendorKeyPacket(keys, wheelValue));
    host->OnPenPacket(d.data(), d.size());
  }
  void ReportB(uint32_t buttonState) {
    pointer.next.buttonState = buttonState;
    const uint8_t d[14] = {};
    host->OnDigitizerReport(d, sizeof d);
  }
  // The posted messages, handed to the host as its message loop would.
  void DeliverPosted() {
    auto posted = std::move(shell.posted);
    shell.posted.clear();
    for (const auto& p : posted) {
      intptr_t r = 0;
      host->HandleMessage(p.msg, p.wparam, p.lparam, r);
    }
  }
  Events Settled(uint32_t ms) {
    timers.Run(ms);
    EXPECT_TRUE(wheelUI->Function().WaitIdle(std::chrono::seconds(5)));
    return input.Take();
  }
};

TEST_F(HostKeys, ConnectingLoadsTheModelsDefinitionsAndBothReportPathsPressKeys) {
  Start("R711");
  ASSERT_EQ(store.files.count("/prog/R711Def.bin"), 1u);
  KeysA(0, 1u << 9);  // key 10: E
  KeysA(0, 0);
  EXPECT_EQ(input.Take(), (Events{"down 69/18", "up 69/18"}));
  ReportB(1u << (3 + 0));  // key 1 on interface B: Tab
  ReportB(0);
  EXPECT_EQ(input.Take(), (Events{"down 9/15", "up 9/15"}));
  // The tablet's own key for pen button 2, as the device reported it.
  device.keyUsage = 4;  // 'a'
  device.keyModifiers = 2;  // Shift
  device.onConnect(false);
  device.onConnect(true);
  KeysA(0, 1u << 12);
  EXPECT_EQ(input.Take(), (Events{"down 16/42", "down 65/30"}));
}

TEST_F(HostKeys, AWheelStepInZoomSendsCtrlMinusSixtyMillisecondsLater) {
  store.files["/prog/TabletWheel.ini"] =
      "[EnableItem]\r\nMouseWheelEnabled=0\r\nZoomEnabled=1\r\nRotateCanvasEnabled=0\r\nUndoRedoEnabled=0\r\n"
      "VolumeEnabled=0\r\n[KeyDefine]\r\nZoomRLeft.extraKey=1\r\nZoomRLeft.MainKey=189\r\n";
  Start("R711");
  KeysA(0xFF, 0);
  DeliverPosted();
  EXPECT_EQ(Settled(59), Events{});
  EXPECT_EQ(Settled(1), (Events{"down 17/29", "down 189/12", "up 189/12", "up 17/29"}));
}

TEST_F(HostKeys, TheCentreButtonOfAnR766ReachesTheWheelThroughTheHostsWindow) {
  Start("R766");
  KeysA(0, 1u << 10);
  ASSERT_EQ(shell.posted.size(), 1u);
  EXPECT_EQ(shell.posted[0].msg, 1524u);
  DeliverPosted();
  EXPECT_TRUE(holdTimer.Running());
  KeysA(0, 0);
  DeliverPosted();
  EXPECT_FALSE(holdTimer.Running());
  // A short press: Volume (the default's highest) gives way to MouseWheel.
  EXPECT_EQ(wheelUI->Data().CurrentFunction, 0);
}

TEST_F(HostKeys, ADisconnectReleasesEveryKeyAndThePenButtonAndTheNextConnectionSendsNoStrayRelease) {
  Start("R711");
  ReportB(2 | 1u << (3 + 3) | 1u << (3 + 9));  // pen button 1, Ctrl alone, E
  EXPECT_EQ(input.Take(), (Events{"mouse 0008", "down 17/29", "down 69/18"}));
  device.onConnect(false);
  EXPECT_EQ(input.Take(), (Events{"mouse 0010", "up 17/29", "up 69/18"}));
  device.onConnect(true);
  ReportB(0);
  KeysA(0, 0);
  EXPECT_EQ(input.Take(), Events{});
}

TEST_F(HostKeys, CommandsZeroAndNineWhileKeysAreHeldReleaseTheKeysThatWentDown) {
  Start("R711");
  manager->SetDefinition(0, 0, 65);  // device 9: A instead of E
  ReportB(4 | 1u << (3 + 9));         // pen button 2 (Ctrl + Z) and A
  EXPECT_EQ(input.Take(), (Events{"down 17/29", "down 90/44", "down 65/30"}));
  // The settings window's new key for pen button 2: Shift + Space.
  window.SetSelfDefineKey(44);
  window.SetSelfDefineModifiers(2);
  host->OnServiceCommand(0, 0);
  host->OnServiceCommand(9, 0);  // device 9 back to E
  input.Take();
  ReportB(0);
  EXPECT_EQ(input.Take(), (Events{"up 90/44", "up 17/29", "up 65/30"}));
}

TEST_F(HostKeys, TheShutDownReleasesWhatIsStillHeld) {
  Start("R711");
  KeysA(0, 1u << 3 | 1u << 9);  // Ctrl alone and E
  input.Take();
  intptr_t r = 0;
  host->HandleMessage(host_msg::kDestroy, 0, 0, r);
  EXPECT_EQ(input.Take(), (Events{"up 17/29", "up 69/18"}));
}

TEST_F(HostKeys, CommandsSixAndNineAndTheShutDownReachTheDefinitionsFile) {
  Start("R711");
  manager->SetDefinition(0, 4, 65);
  host->OnServiceCommand(6, 0);
  EXPECT_EQ(store.files["/prog/R711Def.bin"].substr(0, 2), "\x04\x41");
  host->OnServiceCommand(9, 0);
  EXPECT_EQ(store.files["/prog/R711Def.bin"].substr(0, 2), std::string("\x00\x45", 2));
  manager->SetDefinition(1, 1, 66);
  intptr_t r = 0;
  host->HandleMessage(host_msg::kDestroy, 0, 0, r);
  EXPECT_EQ(store.files["/prog/R711Def.bin"].substr(2, 2), "\x01\x42");
  EXPECT_FALSE(manager->Modified());
}

TEST_F(HostKeys, ALongPressDuringTheShowDelayOpensTheWheelSettingsFromTheMainLoopAfterTheDelay) {
  Start("R766");
  clock.onProcessMessages = [&] {
    // The 200 ms wait of the settings' show runs messages, as a modal wait does.
    const TModalGate::TScope wait(gate, TModalGate::Loop::kWait);
    KeysA(0, 1u << 10);  // the wheel's centre, held
    DeliverPosted();
    timers.Run(500);
    EXPECT_EQ(wheelWindow.opened, 0);
  };
  intptr_t r = 0;
  host->HandleMessage(host_msg::kShowSettings, 0, 0, r);
  clock.onProcessMessages = nullptr;
  EXPECT_EQ(wheelWindow.opened, 0);
  ASSERT_EQ(shell.posted.size(), 1u);
  EXPECT_EQ(shell.posted[0].wparam, 3u);
  DeliverPosted();
  EXPECT_EQ(wheelWindow.opened, 1);
}

TEST_F(HostKeys, ARemovalAConnectAndPostedStepsDuringTheWheelSettingsLoopAreHandledThereWithoutOpeningItTwice) {
  Start("R766");
  wheelWindow.whileOpen = [&] {
    KeysA(0, 0);  // the long press ends
    device.onConnect(false);
    device.onConnect(true);
    KeysA(0x01, 0);  // a step: the window's, no action
    DeliverPosted();
    EXPECT_EQ(Settled(100), Events{});
    intptr_t r = 0;
    host->HandleMessage(host_msg::kWheelUi, 3, 0, r);  // a request left over
    EXPECT_EQ(wheelWindow.opened, 1);
  };
  KeysA(0, 1u << 10);
  DeliverPosted();
  timers.Run(400);
  EXPECT_EQ(wheelWindow.opened, 1);
  EXPECT_TRUE(shell.posted.empty());
}

}  // namespace
}  // namespace pen::test
