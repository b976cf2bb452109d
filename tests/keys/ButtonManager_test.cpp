// What tablet buttons, pen buttons and soft keys do, on the fake clock.
#include "ButtonManagerFixture.h"

namespace pen::test {
namespace {

using Buttons = ButtonManagerTest;

TEST_F(Buttons, AnR711KeyPressesItsFactoryDefinitionAndHoldsItUntilReleased) {
  Connect("R711");
  // Key 10 (device 9) fires slot 0, the E key.
  EXPECT_EQ(State(Device(9)), (Events{"down 69/18"}));
  EXPECT_TRUE(buttons.Held());
  timers.Run(5000);
  EXPECT_EQ(input.Take(), Events{});  // held, not repeated
  EXPECT_EQ(State(0), (Events{"up 69/18"}));
  EXPECT_FALSE(buttons.Held());
  // Key 8 (device 7) fires slot 2: Ctrl + minus.
  EXPECT_EQ(State(Device(7)), (Events{"down 17/29", "down 189/12"}));
  EXPECT_EQ(State(0), (Events{"up 189/12", "up 17/29"}));
}

TEST_F(Buttons, OneStateChangeHandlesBitsInAscendingOrderPressBeforeReleaseForEachBit) {
  Connect("R711");
  State(Device(1));  // slot 9: Space
  // Device 0 (slot 7, Tab) goes down as device 1 comes up.
  EXPECT_EQ(State(Device(0)), (Events{"down 9/15", "up 32/57"}));
  EXPECT_EQ(State(Device(1)), (Events{"up 9/15", "down 32/57"}));
  // Pen button 1 (bit 1) comes before any tablet button.
  EXPECT_EQ(State(Device(0) | 2), (Events{"mouse 0008", "down 9/15", "up 32/57"}));
}

TEST_F(Buttons, TheTipAndRepeatedStatesDoNothing) {
  Connect("R711");
  EXPECT_EQ(State(1), Events{});
  EXPECT_EQ(State(0), Events{});
  State(Device(9));
  EXPECT_EQ(State(Device(9)), Events{});
  EXPECT_EQ(State(Device(9) | 1), Events{});
}

TEST_F(Buttons, PenButtonsClickRightAndSendTheTabletsOwnKey) {
  Connect("R711");
  EXPECT_EQ(State(2), (Events{"mouse 0008"}));
  EXPECT_EQ(State(0), (Events{"mouse 0010"}));
  EXPECT_EQ(State(4), (Events{"down 17/29", "down 90/44"}));  // Ctrl+Z by default
  EXPECT_EQ(State(0), (Events{"up 90/44", "up 17/29"}));
  buttons.SetSelfDefinedKey(44, 2);  // Shift + Space
  EXPECT_EQ(State(4), (Events{"down 16/42", "down 32/57"}));
  EXPECT_EQ(State(0), (Events{"up 32/57", "up 16/42"}));
}

TEST_F(Buttons, TheWheelCentreButtonOfAnR766IsPostedToTheOwnerAndPressesNoKey) {
  Connect("R766");
  EXPECT_EQ(State(Device(10)), Events{});
  EXPECT_EQ(State(0), Events{});
  EXPECT_EQ(owner.posted, (std::vector<FakePoster::Message>{{1524, 1, 1}, {1524, 1, 0}}));
  // Devices 6 and 7 have no slot on this model.
  EXPECT_EQ(State(Device(6) | Device(7)), Events{});
  EXPECT_EQ(owner.posted.size(), 2u);
}

TEST_F(Buttons, OnAnR755DeviceTenFiresSlotThreeAndElevenSlotOne) {
  Connect("R755");
  EXPECT_EQ(State(Device(10)), (Events{"down 221/27"}));
  EXPECT_EQ(State(Device(11)), (Events{"up 221/27", "down 17/29", "down 187/13"}));
  EXPECT_TRUE(owner.posted.empty());
}

TEST_F(Buttons, TheCentreButtonNeedsAnOwnerAndOneOfTheWheelModels) {
  buttons.SetModelCode("K60");
  buttons.LoadDefinitions();
  State(Device(10));
  State(0);
  EXPECT_TRUE(owner.posted.empty());  // no owner yet
  Connect("K90");
  State(Device(10));
  EXPECT_EQ(owner.posted.size(), 1u);
  State(0);
  Connect("R711");  // device 10 is the B key here
  EXPECT_EQ(State(Device(10)), (Events{"down 66/48"}));
  EXPECT_EQ(owner.posted.size(), 2u);
}

TEST_F(Buttons, AHeldWheelDownNotchesAtOnceThenAfterOneSecondEveryHundredMilliseconds) {
  Connect("R711");
  EXPECT_EQ(State(Device(4)), (Events{"wheel -121"}));  // slot 8: WheelDown
  timers.Run(999);
  EXPECT_EQ(input.Take(), Events{});
  timers.Run(1);
  EXPECT_EQ(input.Take(), (Events{"wheel -121"}));
  timers.Run(450);  // held 1.45 s in all
  EXPECT_EQ(input.Take().size(), 4u);
  EXPECT_EQ(State(0), Events{});
  EXPECT_FALSE(repeat.Running());
  timers.Run(2000);
  EXPECT_EQ(input.Take(), Events{});
}

TEST_F(Buttons, AWheelDefinitionWithCtrlRepeatsReleaseAndPressOfTheWhole) {
  Connect("R711");
  buttons.SetDefinition(8, 1, 5);  // Ctrl + WheelUp on device 4
  EXPECT_EQ(State(Device(4)), (Events{"down 17/29", "wheel +120"}));
  timers.Run(1000);
  EXPECT_EQ(input.Take(), (Events{"up 17/29", "down 17/29", "wheel +120"}));
  EXPECT_EQ(State(0), (Events{"up 17/29"}));
}

TEST_F(Buttons, ATickAlreadyOnItsWayAfterTheReleasePressesNothing) {
  Connect("R711");
  State(Device(4));
  timers.Run(1000);
  State(0);
  input.Take();
  repeat.onTimer();  // the late tick
  EXPECT_EQ(input.Take(), Events{});
  EXPECT_FALSE(repeat.Running());
}

TEST_F(Buttons, ASecondButtonEndsTheRepeatAndOnlyAWheelDefinitionRepeats) {
  Connect("R711");
  State(Device(4));  // WheelDown, repeating
  State(Device(4) | Device(0));  // and Tab
  input.Take();
  timers.Run(3000);
  EXPECT_EQ(input.Take(), Events{});
  // A disconnect releases what is down; a wheel notch has nothing to release.
  buttons.ReleaseHeldKey();
  EXPECT_EQ(input.Take(), (Events{"up 9/15"}));
  buttons.ReleaseHeldKey();
  EXPECT_EQ(input.Take(), Events{});
}

TEST_F(Buttons, AReleaseSendsUpWhatThePressSentDownWhateverTheDefinitionBecameMeanwhile) {
  Connect("R711");
  // Key setup rewrites slot 0 (device 9, E) while the button is held.
  EXPECT_EQ(State(Device(9)), (Events{"down 69/18"}));
  buttons.SetDefinition(0, 1, 65);  // Ctrl + A
  EXPECT_EQ(State(0), (Events{"up 69/18"}));
  EXPECT_EQ(State(Device(9)), (Events{"down 17/29", "down 65/30"}));
  EXPECT_EQ(State(0), (Events{"up 65/30", "up 17/29"}));
  // The factory reset puts E back while Ctrl + A is held.
  buttons.SaveDefinitions();
  State(Device(9));
  input.Take();
  buttons.ResetAllDefinitions();
  EXPECT_EQ(buttons.Definition(0), (KeyDefinition{0, 69}));
  EXPECT_EQ(State(0), (Events{"up 65/30", "up 17/29"}));
  // A new self-defined key while pen button 2 holds Ctrl + Z.
  EXPECT_EQ(State(4), (Events{"down 17/29", "down 90/44"}));
  buttons.SetSelfDefinedKey(44, 2);  // Shift + Space
  EXPECT_EQ(State(0), (Events{"up 90/44", "up 17/29"}));
  // A slot emptied while held still releases what went down.
  State(Device(3));  // slot 10: Ctrl alone
  input.Take();
  buttons.SetDefinition(10, 0, 0);
  EXPECT_EQ(State(0), (Events{"up 17/29"}));
  EXPECT_FALSE(buttons.Held());
}

TEST_F(Buttons, SeveralButtonsHeldAtOnceEachReleaseTheirOwnKey) {
  Connect("R711");
  State(Device(3));                          // slot 10: Ctrl alone
  State(Device(3) | Device(9));              // slot 0: E
  State(Device(3) | Device(9) | Device(1));  // slot 9: Space
  input.Take();
  EXPECT_EQ(State(Device(3) | Device(1)), (Events{"up 69/18"}));
  EXPECT_EQ(State(Device(1)), (Events{"up 17/29"}));
  EXPECT_TRUE(buttons.Held());
  EXPECT_EQ(State(0), (Events{"up 32/57"}));
  EXPECT_FALSE(buttons.Held());
}

TEST_F(Buttons, ADisconnectReleasesEverythingDownAndTheNextConnectionStartsFromNothingHeld) {
  Connect("R711");
  // Pen button 1, Ctrl alone (device 3), E (device 9) and pen button 2.
  State(2 | 4 | Device(3) | Device(9));
  input.Take();
  buttons.ReleaseHeldKey();
  EXPECT_EQ(input.Take(), (Events{"mouse 0010", "up 90/44", "up 17/29", "up 17/29", "up 69/18"}));
  EXPECT_FALSE(buttons.Held());
  // The tablet comes back with every button up: nothing to release again.
  Connect("R711");
  EXPECT_EQ(State(0), Events{});
  // And a button down at the first report is a fresh press.
  EXPECT_EQ(State(2 | Device(9)), (Events{"mouse 0008", "down 69/18"}));
  buttons.ReleaseHeldKey();
  EXPECT_EQ(input.Take(), (Events{"mouse 0010", "up 69/18"}));
}

TEST_F(Buttons, ADisconnectForgetsTheWheelCentreButtonAndAHeldWheelStopsRepeating) {
  Connect("R766");
  State(Device(10) | Device(5));  // the centre button, and slot 3 (right bracket)
  input.Take();
  buttons.SetDefinition(3, 0, 6);  // becomes WheelDown meanwhile
  buttons.ReleaseHeldKey();
  EXPECT_EQ(input.Take(), (Events{"up 221/27"}));
  // Only the press was posted: a release would be taken for a click.
  EXPECT_EQ(owner.posted, (std::vector<FakePoster::Message>{{1524, 1, 1}}));
  EXPECT_EQ(State(0), Events{});
  EXPECT_EQ(owner.posted.size(), 1u);
  // A held wheel definition's repeat ends with the disconnect.
  EXPECT_EQ(State(Device(5)), (Events{"wheel -121"}));  // now WheelDown
  buttons.ReleaseHeldKey();
  EXPECT_FALSE(repeat.Running());
  timers.Run(3000);
  EXPECT_EQ(input.Take(), Events{});
}

TEST_F(Buttons, AnEmptySlotSendsNothingAndLeavesTheHeldDefinitionAlone) {
  Connect("R711");
  buttons.SetDefinition(9, 0, 0);  // device 1
  State(Device(3));  // slot 10: Ctrl alone
  EXPECT_EQ(State(Device(3) | Device(1)), Events{});
  EXPECT_EQ(State(Device(3)), Events{});
  buttons.ReleaseHeldKey();
  EXPECT_EQ(input.Take(), (Events{"up 17/29"}));
}

TEST_F(Buttons, ReleasingAnyDefinedButtonStopsTheRepeat) {
  Connect("R711");
  State(Device(0));
  State(Device(0) | Device(4));  // WheelDown held last
  input.Take();
  EXPECT_EQ(State(Device(4)), (Events{"up 9/15"}));  // Tab released
  timers.Run(2000);
  EXPECT_EQ(input.Take(), Events{});
}

TEST_F(Buttons, SoftKeysRunTheirFixedFunctionOnThePressOnly) {
  Connect("R711");
  const std::vector<Events> expected = {
      {"mute"},
      {"volume down"},
      {"volume up"},
      {"start (no verb) wmplayer.exe"},
      {"down 179/0", "up 179/0"},
      {"down 177/0", "up 177/0"},
      {"down 176/0", "up 176/0"},
      {"down 172/0", "up 172/0"},
      {"start open calc.exe"},
      {"down 91/0", "down 68/0", "up 91/0", "up 68/0"},
  };
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(State(SoftKey(k)), expected[static_cast<size_t>(k)]) << k;
    EXPECT_EQ(State(0), Events{}) << k;
  }
  // Two at once: in ascending order, after the buttons of the same change.
  EXPECT_EQ(State(SoftKey(2) | SoftKey(0) | Device(0)), (Events{"down 9/15", "mute", "volume up"}));
}

TEST_F(Buttons, AModelOutsideEveryGroupHasNoTabletButtonsButPenButtonsAndSoftKeysWork) {
  Connect("X100");
  EXPECT_EQ(File("/prog/X100Def.bin"), "(none)");
  EXPECT_EQ(State(Device(0) | Device(9)), Events{});
  EXPECT_EQ(State(2), (Events{"mouse 0008"}));
  EXPECT_EQ(State(SoftKey(2)), (Events{"mouse 0010", "volume up"}));
}

}  // namespace
}  // namespace pen::test
