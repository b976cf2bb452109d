#include <gtest/gtest.h>

#include "PenHostMainFixture.h"

namespace pen::test {
namespace {

using Reports = PenHost;

// --- interface A ------------------------------------------------------------

TEST_F(Reports, PenPressureIsAveragedWithTheLastSample) {
  StartConnected();
  PenA(0xC1, 600);
  PenA(0xC1, 900);
  ASSERT_EQ(channel.published.size(), 2u);
  EXPECT_EQ(channel.published[0].Pressure(), 600);
  EXPECT_EQ(channel.published[1].Pressure(), 700);  // (2 * 600 + 900) / 3
  EXPECT_EQ(window.samples, (std::vector<int32_t>{600, 700}));
  EXPECT_EQ(smoothing.smoothed, 2);
  // Position and tilt bytes pass through untouched.
  EXPECT_EQ(channel.published[1].X(), 0x10);
  EXPECT_EQ(channel.published[1].TiltB(), 6);
}

TEST_F(Reports, ZeroPressureIsNotAveragedAndRestartsTheHistory) {
  StartConnected();
  PenA(0xC1, 600);
  PenA(0xC0, 0);
  PenA(0xC1, 300);
  EXPECT_EQ(channel.published[1].Pressure(), 0);
  EXPECT_EQ(channel.published[2].Pressure(), 300);
}

TEST_F(Reports, PressuresJustBelowTheTopBecomeFullPressure) {
  StartConnected();
  for (uint16_t p : {2041, 2044, 2047}) {
    PenA(0xC0, 0);  // clears the history
    PenA(0xC1, p);
    EXPECT_EQ(channel.published.back().Pressure(), 2048) << p;
  }
  PenA(0xC0, 0);
  PenA(0xC1, 2040);
  EXPECT_EQ(channel.published.back().Pressure(), 2040);
  PenA(0xC1, 2046);  // (2 * 2040 + 2046) / 3 = 2042
  EXPECT_EQ(channel.published.back().Pressure(), 2048);
}

TEST_F(Reports, AKeyPacketWithoutWheelMovementPostsNothingButSetsTheMask) {
  StartConnected();
  KeysA(0, 0x3001);
  EXPECT_TRUE(shell.posted.empty());
  EXPECT_EQ(buttons.states, (std::vector<uint32_t>{14}));
  EXPECT_TRUE(channel.published.empty());
}

TEST_F(Reports, AWheelValueIsPostedToTheOverlay) {
  StartConnected();
  KeysA(0xFD, 0);
  ASSERT_EQ(shell.posted.size(), 1u);
  EXPECT_EQ(shell.posted[0].msg, host_msg::kWheelUi);
  EXPECT_EQ(shell.posted[0].wparam, wheel_ui::kStep);
  EXPECT_EQ(shell.posted[0].lparam, 0xFD);
  EXPECT_EQ(buttons.states, (std::vector<uint32_t>{0}));
}

TEST_F(Reports, OtherOutOfRangePacketsAndShortReportsAreIgnored) {
  StartConnected();
  KeysA(3, 0x0FFF, 0x00);
  const uint8_t shortPen[6] = {0xC1, 1, 2, 3, 4, 5};
  host.OnPenPacket(shortPen, sizeof shortPen);
  const uint8_t shortKeys[3] = {0x80, 0xFF, 1};
  host.OnPenPacket(shortKeys, sizeof shortKeys);
  host.OnPenPacket(nullptr, 9);
  EXPECT_TRUE(shell.posted.empty());
  EXPECT_TRUE(buttons.states.empty());
  EXPECT_TRUE(channel.published.empty());
}

// --- interface B ------------------------------------------------------------

TEST_F(Reports, ADigitizerReportReachesTheWindowButtonsOverlayAndChannel) {
  StartConnected();
  pointer.next.buttonState = 1;
  pointer.next.pressure = 812;
  pointer.next.wheelStep = -3;
  pointer.next.packet.SetStatus(0xC1);
  ReportB();
  EXPECT_EQ(window.samples, (std::vector<int32_t>{812}));
  EXPECT_EQ(buttons.states, (std::vector<uint32_t>{1}));
  ASSERT_EQ(shell.posted.size(), 1u);
  EXPECT_EQ(shell.posted[0].lparam, 253);  // -3 as a byte
  ASSERT_EQ(channel.published.size(), 1u);
  EXPECT_EQ(channel.published[0].Status(), 0xC1);
}

TEST_F(Reports, AShortDigitizerReportIsDropped) {
  StartConnected();
  const uint8_t d[4] = {};
  host.OnDigitizerReport(d, sizeof d);
  EXPECT_TRUE(buttons.states.empty());
  EXPECT_TRUE(channel.published.empty());
}

// --- report mode and the foreground -----------------------------------------

TEST_F(Reports, WithInkModeZeroTheModeFollowsTheForegroundOnlyAtTheNextHover) {
  settings.values.inkMode = 0;
  StartConnected();
  channel.clientInFront = true;
  foreground.MarkChanged();
  pointer.next.packet.SetStatus(0xC1);  // tip down: not a hover
  ReportB();
  PenA(0xC3, 100);
  EXPECT_TRUE(shell.posted.empty());
  EXPECT_EQ(device.mode, 1);

  pointer.next.packet.SetStatus(0xC0);
  ReportB();
  ReportB();  // the change is acted on once
  ASSERT_EQ(shell.posted.size(), 1u);
  EXPECT_EQ(shell.posted[0].msg, host_msg::kForegroundRecheck);
  EXPECT_EQ(device.mode, 1);  // read threads never send feature reports
  Send(host_msg::kForegroundRecheck);
  EXPECT_EQ(device.mode, 3);
  EXPECT_FALSE(foreground.ForegroundChanged());
}

TEST_F(Reports, AHoverPenPacketAlsoTriggersTheForegroundRecheck) {
  settings.values.inkMode = 0;
  StartConnected();
  foreground.MarkChanged();
  PenA(0xC0, 0);
  ASSERT_EQ(shell.posted.size(), 1u);
  EXPECT_EQ(shell.posted[0].msg, host_msg::kForegroundRecheck);
}

TEST_F(Reports, WithInkModeOneAForegroundChangeNeverSwitchesToBasicMode) {
  settings.values.inkMode = 1;
  window.SetInkMode(true);
  StartConnected();
  Command(host_cmd::kForegroundChange, 0x777);
  EXPECT_EQ(device.mode, 3);
  window.visible = true;
  Command(host_cmd::kForegroundChange, window.handle);
  Command(host_cmd::kForegroundChange, 0x888);
  EXPECT_EQ(device.Count("mode 1"), 0u);
  EXPECT_EQ(host.PreviousForeground(), window.handle);
  EXPECT_EQ(host.CurrentForeground(), 0x888u);
}

TEST_F(Reports, TheShownWindowHoldsFullModeWhileInFrontAndDropsItWhenLeft) {
  settings.values.inkMode = 0;
  window.SetInkMode(false);
  StartConnected();
  window.visible = true;
  Command(host_cmd::kForegroundChange, window.handle);
  // The foreground check says basic, then the window's own rule says full.
  EXPECT_EQ(device.log, (std::vector<std::string>{"mode 1", "mode 3"}));
  device.log.clear();
  Command(host_cmd::kForegroundChange, 0x999);
  EXPECT_EQ(device.log, (std::vector<std::string>{"mode 1", "mode 1"}));
  device.log.clear();
  Command(host_cmd::kForegroundChange, 0xAAA);
  EXPECT_EQ(device.log, (std::vector<std::string>{"mode 1"}));
}

TEST_F(Reports, HiddenWindowWithInkModeZeroFollowsTheClient) {
  settings.values.inkMode = 0;
  StartConnected();
  channel.clientInFront = true;
  Command(host_cmd::kForegroundChange, 0x42);
  EXPECT_EQ(channel.selected.back(), 0x42u);
  EXPECT_EQ(device.mode, 3);
  channel.clientInFront = false;
  Command(host_cmd::kForegroundChange, 0x43);
  EXPECT_EQ(device.mode, 1);
}

// --- window procedure ---------------------------------------------------------

TEST_F(Reports, BeforeStartOnlyTheWheelMessageIsHandled) {
  intptr_t r = 0;
  EXPECT_TRUE(host.HandleMessage(host_msg::kWheelUi, 1, 1, r));
  EXPECT_FALSE(host.HandleMessage(host_msg::kServiceCommand, 0, host_cmd::kReportModeFull, r));
  EXPECT_FALSE(host.HandleMessage(host_msg::kClose, 0, 0, r));
  EXPECT_TRUE(device.log.empty());
  EXPECT_EQ(shell.quits, 0);
}

TEST_F(Reports, RotationAboveThreeIsStoredAsZeroAndWrittenToMemory) {
  StartConnected();
  Send(host_msg::kSetRotation, 2);
  EXPECT_EQ(device.rotation, 2);
  Send(host_msg::kSetRotation, 7);
  EXPECT_EQ(device.rotation, 0);
  Send(host_msg::kSetRotation, 0xFFFFFFFFFFFF0103ull);  // only the low byte counts
  EXPECT_EQ(device.rotation, 3);
  EXPECT_EQ(device.log, (std::vector<std::string>{"write rotation 2", "write rotation 0", "write rotation 3"}));
}

TEST_F(Reports, ShowSettingsFillsTheWindowSendsFullModeAndWaits) {
  settings.values.inkMode = 0;
  settings.values.screen = {10, 20, 3000, 4000};
  StartConnected();
  tray.enabled = false;
  Send(host_msg::kShowSettings);
  EXPECT_TRUE(tray.enabled);
  EXPECT_EQ(device.log, (std::vector<std::string>{"mode 3"}));
  EXPECT_EQ(clock.pumped, 200u);
  EXPECT_EQ(window.shows, 1);
  EXPECT_EQ(window.ScreenMapRect(), (MapRect{10, 20, 3000, 4000}));
  EXPECT_FALSE(window.InkMode());
  EXPECT_EQ(channel.registered, window.handle);
}

TEST_F(Reports, CloseQueryEndSessionAndDestroyEndTheLoop) {
  StartConnected();
  buttons.modified = true;
  EXPECT_EQ(Send(host_msg::kClose), 0);
  EXPECT_EQ(Send(host_msg::kQueryEndSession), 1);
  EXPECT_EQ(device.log.size(), 0u);  // neither sends mode 0
  Send(host_msg::kDestroy);
  EXPECT_EQ(shell.quits, 3);
  EXPECT_EQ(device.log, (std::vector<std::string>{"close"}));
  EXPECT_EQ(buttons.calls, (std::vector<std::string>{"release", "save"}));
  EXPECT_EQ(settings.writes, 0);
}

TEST_F(Reports, OtherMessagesAreOfferedToTheChannel) {
  StartConnected();
  intptr_t r = 0;
  EXPECT_TRUE(host.HandleMessage(0xC123, 0, 0, r));
  EXPECT_EQ(r, 0);  // answered as handled
  EXPECT_FALSE(host.HandleMessage(0x0113, 0, 0, r));
}

TEST_F(Reports, ADisplayChangeRereadsGeometryOnceTheMonitorsSettle) {
  intptr_t r = 0;
  EXPECT_FALSE(host.HandleMessage(host_msg::kDisplayChange, 0, 0, r));  // also before start
  EXPECT_TRUE(shell.displayTimer);
  shell.settled = false;
  EXPECT_TRUE(host.DisplayChangeTimerTick());
  EXPECT_EQ(pointer.refreshes, 0);
  shell.settled = true;
  EXPECT_FALSE(host.DisplayChangeTimerTick());
  EXPECT_FALSE(shell.displayTimer);
  EXPECT_EQ(pointer.refreshes, 1);
}

// --- power and stopping ---------------------------------------------------------

TEST_F(Reports, MonitorOnWithoutOffSendsNothing) {
  StartConnected();
  host.OnMonitorPowerChanged(TMonitorPower::PoOn);
  EXPECT_TRUE(device.log.empty());
}

TEST_F(Reports, MonitorOnAfterOffResendsTheLastModeOnce) {
  StartConnected();
  Command(host_cmd::kReportModeForInk);
  device.log.clear();
  host.OnMonitorPowerChanged(TMonitorPower::PoOff);
  host.OnMonitorPowerChanged(TMonitorPower::PoOff);
  EXPECT_TRUE(host.MonitorWasOff());
  host.OnMonitorPowerChanged(TMonitorPower::PoOn);
  host.OnMonitorPowerChanged(TMonitorPower::PoOn);
  EXPECT_EQ(device.log, (std::vector<std::string>{"mode 3"}));
}

TEST_F(Reports, StopServiceCancelledDoesNothingButHideTheWindow) {
  StartConnected();
  window.visible = true;
  shell.confirm = false;
  host.MenuStopserviceClick();
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(shell.confirmCaption, "Attention");
  EXPECT_TRUE(device.log.empty());
  EXPECT_EQ(shell.quits, 0);
}

TEST_F(Reports, StopServiceConfirmedSendsModeZeroAndQuits) {
  StartConnected();
  host.MenuStopserviceClick();
  EXPECT_EQ(device.log, (std::vector<std::string>{"mode 0"}));
  EXPECT_EQ(shell.quits, 1);
}

}  // namespace
}  // namespace pen::test
