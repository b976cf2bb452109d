#include "service/PenHostMain.h"

#include <gtest/gtest.h>

#include "PenHostMainFixture.h"
#include "service/HostMessages.h"

namespace pen::test {
namespace {

// --- connection -----------------------------------------------------------

TEST_F(PenHost, AConnectedTabletAtStartGetsItsModeAreasThresholdAndDefinitions) {
  settings.values.inkMode = 1;
  device.pressure = 20;
  device.connected = true;
  host.Start();
  EXPECT_TRUE(host.TabletConnected());
  EXPECT_EQ(tray.index, 0);
  EXPECT_TRUE(tray.enabled);
  EXPECT_EQ(device.mode, 3);
  EXPECT_EQ(pointer.threshold, 1470);
  EXPECT_TRUE(pointer.tilt);  // firmware 0x2210
  EXPECT_EQ(channel.areaSets, 1);
  EXPECT_EQ(pointer.screenSets, 1);
  EXPECT_EQ(device.Count("ink 1"), 1u);
  EXPECT_EQ(buttons.calls, (std::vector<std::string>{"key 29/1", "model R711", "load"}));
  EXPECT_EQ(window.model, "R711");
  EXPECT_TRUE(window.tabletFound);
  EXPECT_TRUE(window.pressureAdjustable);
  EXPECT_EQ(window.serviceVersion, "SVer: 4.6.1.222");
}

TEST_F(PenHost, OlderFirmwareLeavesTiltOff) {
  device.firmware = 0x2200;
  StartConnected();
  EXPECT_FALSE(pointer.tilt);
}

TEST_F(PenHost, ASecondConnectChangesNothing) {
  StartConnected();
  host.OnConnectChange(true);
  EXPECT_TRUE(device.log.empty());
  EXPECT_TRUE(buttons.calls.empty());
}

TEST_F(PenHost, NoTabletAtStartSendsNothingAndKeepsTheNoTabletIcon) {
  host.Start();
  EXPECT_FALSE(host.TabletConnected());
  EXPECT_EQ(tray.index, 1);
  EXPECT_EQ(device.Count("mode"), 0u);
  EXPECT_TRUE(buttons.calls.empty());
}

TEST_F(PenHost, UnplugReleasesTheHeldKeyAndReplugResendsTheLastMode) {
  settings.values.inkMode = 0;
  StartConnected();
  Command(host_cmd::kReportModeFull);
  device.log.clear();
  host.OnConnectChange(false);
  EXPECT_EQ(buttons.calls, (std::vector<std::string>{"release"}));
  EXPECT_EQ(tray.index, 1);
  EXPECT_EQ(window.firmware, "0");
  EXPECT_FALSE(window.tabletFound);
  EXPECT_TRUE(device.log.empty());
  host.OnConnectChange(false);
  EXPECT_EQ(buttons.calls.size(), 1u);

  // Ink mode 0 and no client in front: the foreground decides (mode 1),
  // then the new area re-sends it.
  host.OnConnectChange(true);
  EXPECT_EQ(device.log, (std::vector<std::string>{"mode 1", "mode 1", "ink 0"}));
  EXPECT_EQ(tray.index, 0);
}

TEST_F(PenHost, ConnectWithInkModeZeroAndAClientInFrontUsesFullMode) {
  settings.values.inkMode = 0;
  channel.clientInFront = true;
  StartConnected();
  EXPECT_EQ(device.mode, 3);
}

TEST_F(PenHost, TheTrayIconIsRetriedUntilTheShellAcceptsIt) {
  tray.shellAccepts = false;
  host.Start();
  host.OnConnectChange(true);
  EXPECT_FALSE(tray.enabled);
  EXPECT_EQ(tray.index, 0);  // the state is kept even without an icon
  EXPECT_TRUE(host.TrayIconTimerTick());
  EXPECT_TRUE(shell.trayTimer);
  tray.shellAccepts = true;
  EXPECT_TRUE(host.TrayIconTimerTick());
  EXPECT_TRUE(tray.enabled);
  EXPECT_FALSE(host.TrayIconTimerTick());
  EXPECT_FALSE(shell.trayTimer);
}

// --- service commands ------------------------------------------------------

TEST_F(PenHost, PressureCommandWithTheStoredValueSendsNothing) {
  device.pressure = 30;
  StartConnected();
  Command(host_cmd::kPressure, 30);
  EXPECT_TRUE(device.log.empty());
}

TEST_F(PenHost, PressureCommandSendsParametersButNeverWritesMemory) {
  StartConnected();
  Command(host_cmd::kPressure, static_cast<uint64_t>(-40));
  EXPECT_EQ(device.pressure, -40);
  EXPECT_EQ(pointer.threshold, 1410);
  EXPECT_EQ(device.log, (std::vector<std::string>{"params -40"}));
  EXPECT_EQ(device.memPressure, 0);
}

TEST_F(PenHost, PressureCommandOutsideTheOfferedRangeIsLimited) {
  StartConnected();
  Command(host_cmd::kPressure, 100000);
  EXPECT_EQ(device.pressure, 255);
  EXPECT_EQ(pointer.threshold, 1705);
}

TEST_F(PenHost, ApplySettingsWritesTheFileButNotMemoryWhenNothingDiffers) {
  StartConnected();
  settings.values.smoothness = 2;
  window.SetScreenMapRect({100, 200, 3000, 3900});
  window.SetLeftHandChecked(true);
  window.SetInkMode(false);
  Command(host_cmd::kApplySettings);
  EXPECT_EQ(settings.writes, 1);
  EXPECT_EQ(settings.written.smoothness, 0);
  EXPECT_EQ(settings.written.leftHandMode, 1);
  EXPECT_EQ(settings.written.inkMode, 0);
  EXPECT_EQ(settings.written.screen, (MapRect{100, 200, 3000, 3900}));
  EXPECT_EQ(device.area, (AreaRecord{200, 100, 2900, 3700}));
  EXPECT_TRUE(pointer.leftHand);
  EXPECT_EQ(device.Count("write"), 0u);
  EXPECT_EQ(device.log.back(), "mode 1");
  EXPECT_EQ(smoothing.restarts, 1);
  EXPECT_EQ(buttons.calls.back(), "key 29/1");
}

TEST_F(PenHost, ApplySettingsWritesMemoryWhenPressureKeyOrModifiersDiffer) {
  StartConnected();
  window.SetPressureLevel(50);
  Command(host_cmd::kApplySettings);
  EXPECT_EQ(device.Count("write"), 1u);
  EXPECT_EQ(device.memPressure, 50);
  EXPECT_EQ(pointer.threshold, 1500);

  device.log.clear();
  window.SetSelfDefineModifiers(4);
  Command(host_cmd::kApplySettings);
  EXPECT_EQ(device.Count("write"), 1u);
  EXPECT_EQ(device.memKeyModifiers, 4);

  device.log.clear();
  window.SetSelfDefineKey(6);
  Command(host_cmd::kApplySettings);
  EXPECT_EQ(device.Count("write"), 1u);
  EXPECT_EQ(buttons.calls.back(), "key 6/4");

  device.log.clear();
  Command(host_cmd::kApplySettings);
  EXPECT_EQ(device.Count("write"), 0u);
}

TEST_F(PenHost, ErasedPressureInMemoryCountsAsZero) {
  device.memPressure = -1;
  StartConnected();
  window.SetPressureLevel(0);
  Command(host_cmd::kApplySettings);
  EXPECT_EQ(device.Count("write"), 0u);
}

TEST_F(PenHost, ScreenAreaCommandChangesRunningAreasOnlyAndReachesAllThreeUsers) {
  StartConnected();
  const int channelBefore = channel.areaSets, tabletBefore = pointer.tabletSets;
  window.SetScreenMapRect({0, 0, 2047, 4095});
  Command(host_cmd::kScreenArea);
  EXPECT_EQ(settings.writes, 0);
  EXPECT_EQ(settings.values.screen, (MapRect{0, 0, 2047, 4095}));
  EXPECT_EQ(device.area, (AreaRecord{0, 0, 2047, 4095}));
  EXPECT_EQ(device.log, (std::vector<std::string>{"mode 3"}));
  EXPECT_EQ(channel.areaSets, channelBefore + 1);
  EXPECT_EQ(pointer.screen, (AreaRecord{0, 0, 2047, 4095}));
  EXPECT_EQ(pointer.tabletSets, tabletBefore);
}

TEST_F(PenHost, TabletAreaCommandReachesOnlyPointerEmulation) {
  StartConnected();
  const int channelBefore = channel.areaSets;
  window.SetTabletMapRect({500, 600, 3500, 3600});
  Command(host_cmd::kTabletArea);
  EXPECT_EQ(pointer.tablet, (AreaRecord{600, 500, 3000, 3000}));
  EXPECT_TRUE(device.log.empty());
  EXPECT_EQ(channel.areaSets, channelBefore);
  EXPECT_EQ(settings.writes, 0);
}

TEST_F(PenHost, AnInvalidRectangleResetsAllSettingsAndTheWindowGetsThemBack) {
  settings.values.leftHandMode = 1;
  StartConnected();
  window.SetScreenMapRect({3700, 0, 4000, 4095});
  Command(host_cmd::kScreenArea);
  EXPECT_EQ(settings.values.leftHandMode, 0);
  EXPECT_EQ(window.ScreenMapRect(), MapRect{});
  EXPECT_EQ(device.area, (AreaRecord{0, 0, 4095, 4095}));
}

TEST_F(PenHost, LeftHandCommandSetsBothFlagsWithoutSaving) {
  StartConnected();
  Command(host_cmd::kLeftHand, 1);
  EXPECT_TRUE(pointer.leftHand);
  EXPECT_EQ(device.log, (std::vector<std::string>{"left 1"}));
  Command(host_cmd::kLeftHand, 2);
  EXPECT_FALSE(pointer.leftHand);
  EXPECT_EQ(settings.writes, 0);
}

TEST_F(PenHost, ModeCommandsFollowTheWindowsInkChoice) {
  StartConnected();
  window.SetInkMode(false);
  Command(host_cmd::kReportModeForInk, 99);
  EXPECT_EQ(device.log.back(), "mode 1");
  window.SetInkMode(true);
  Command(host_cmd::kReportModeForInk);
  EXPECT_EQ(device.log.back(), "mode 3");
  Command(host_cmd::kReportModeFull);
  EXPECT_EQ(device.log.size(), 3u);
}

TEST_F(PenHost, UnknownCommandsDoNothing) {
  StartConnected();
  for (int64_t code : {int64_t{2}, int64_t{12}, int64_t{-1}, int64_t{1} << 40}) Command(code, 5);
  EXPECT_TRUE(device.log.empty());
  EXPECT_TRUE(buttons.calls.empty());
  EXPECT_EQ(settings.writes, 0);
}

}  // namespace
}  // namespace pen::test
