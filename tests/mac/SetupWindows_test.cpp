// The rules of the key-setup, rotation and screen windows.
#include <gtest/gtest.h>

#include "MacFakes.h"
#include "mac/ModiKey.h"
#include "mac/SetupRotate.h"
#include "mac/SetupScreens.h"

namespace penmac::test {
namespace {

class KeySetup : public ::testing::Test {
 protected:
  KeySetup() { rig.delegate.keySetup = true; }
  // Bit 0 = key 1, 1 while held.
  void PressTabletKeys(uint16_t down) {
    TabletReport r;
    r.keysDown = down;
    rig.Send(r);
  }
  DelegateRig rig;
};

TEST_F(KeySetup, KeyOneF5CommandAndRightBecomeOneDefinition) {
  ModiKey window(rig.delegate);
  window.OnAppear();
  EXPECT_EQ(window.Header(), "Press the tablet button to be customized");
  PressTabletKeys(0x001);
  EXPECT_EQ(window.Header(), "Key: 001   ☞");
  window.KeyDown(96, "\xEF\x9C\x88");  // F5 and the character it produces
  window.k0 = true;
  window.mR = true;
  window.Ok();
  EXPECT_EQ(rig.delegate.keyDefs.at(1), (KeyDef{"∙F5⌘", "R"}));
  EXPECT_FALSE(rig.delegate.keySetup);
  EXPECT_EQ(rig.delegate.buttonId, 0);
}

TEST_F(KeySetup, CancelWithoutTouchingTheTabletChangesNothing) {
  rig.delegate.keyDefs[1] = KeyDef{"a", ""};
  ModiKey window(rig.delegate);
  window.OnAppear();
  window.Cancel();
  EXPECT_EQ(rig.delegate.keyDefs, (KeyDefs{{1, KeyDef{"a", ""}}}));
  EXPECT_FALSE(rig.delegate.keySetup);
}

TEST_F(KeySetup, TypedCharactersCollectAndStopGrowingBeyondElevenCharacters) {
  ModiKey window(rig.delegate);
  window.KeyDown(0, "a");
  window.KeyDown(11, "b");
  window.KeyDown(8, "c");
  EXPECT_EQ(window.keyvalue, "abc");
  for (int i = 0; i < 20; ++i) window.KeyDown(0, "a");
  EXPECT_EQ(CharacterCount(window.keyvalue), 11u);
}

TEST_F(KeySetup, NamedKeysCountAsTheirCharacters) {
  ModiKey window(rig.delegate);
  for (int i = 0; i < 5; ++i) window.KeyDown(109, "");  // "∙F10": 4 characters each
  EXPECT_EQ(window.keyvalue, "∙F10∙F10∙F10");
}

TEST_F(KeySetup, AKeyWithoutCharactersAddsNothing) {
  ModiKey window(rig.delegate);
  window.KeyDown(57, "");  // caps lock
  EXPECT_EQ(window.keyvalue, "");
}

TEST_F(KeySetup, ClearStartsTheKeysOver) {
  ModiKey window(rig.delegate);
  window.KeyDown(0, "a");
  window.Clear();
  window.KeyDown(96, "");
  EXPECT_EQ(window.keyvalue, "∙F5");
}

TEST_F(KeySetup, TwoKeysHeldTogetherAreTheirOwnCombination) {
  PressTabletKeys(0x003);
  ModiKey window(rig.delegate);
  window.KeyDown(0, "x");
  window.Ok();
  EXPECT_EQ(rig.delegate.keyDefs.count(0x003), 1u);
  EXPECT_EQ(rig.delegate.keyDefs.count(0x001), 0u);
  EXPECT_EQ(rig.delegate.keyDefs.count(0x002), 0u);
}

TEST_F(KeySetup, ModifiersAndMouseStringsAreWrittenInTheirFixedOrder) {
  PressTabletKeys(0x001);
  ModiKey window(rig.delegate);
  window.k3 = window.k2 = window.k1 = window.k0 = true;
  window.mD = window.mI = window.mR = window.mM = window.mL = true;
  window.Ok();
  EXPECT_EQ(rig.delegate.keyDefs.at(1), (KeyDef{"⌘⌥⇧⌃", "LMR+-"}));
}

TEST_F(KeySetup, TheBoxesStartFromAnExistingDefinition) {
  rig.delegate.keyDefs[0x001] = KeyDef{"a⌥⌃", "M-"};
  PressTabletKeys(0x001);
  ModiKey window(rig.delegate);
  window.OnAppear();
  EXPECT_FALSE(window.k0);
  EXPECT_TRUE(window.k1);
  EXPECT_FALSE(window.k2);
  EXPECT_TRUE(window.k3);
  EXPECT_FALSE(window.mL);
  EXPECT_TRUE(window.mM);
  EXPECT_FALSE(window.mR);
  EXPECT_FALSE(window.mI);
  EXPECT_TRUE(window.mD);
  EXPECT_EQ(window.keyvalue, "");
}

TEST_F(KeySetup, ClosingTheWindowOtherwiseLeavesTabletButtonsInactive) {
  rig.delegate.keyDefs[0x001] = KeyDef{"a", ""};
  { ModiKey window(rig.delegate); }  // gone without "Ok" or "Cancel"
  PressTabletKeys(0x001);
  for (size_t i = 0; i < rig.poster.Held(); ++i) EXPECT_NE(rig.poster.At(i).type, event_type::kKeyDown);
  EXPECT_TRUE(rig.delegate.keySetup);
}

TEST(RotationWindow, StartsOnTheRotationInForceAndWritesOnlyOnOk) {
  DelegateRig rig;
  rig.delegate.screenConfig.Rotation = "180º";
  SetupRotate window(rig.delegate);
  window.OnAppear();
  EXPECT_EQ(window.MenuLabel(), "Tablet Working Angle: 180º");
  EXPECT_EQ(window.ItemLabel(1), "Tablet Rotate to: 90º");
  window.Choose(1);
  window.Cancel();
  EXPECT_EQ(rig.delegate.screenConfig.Rotation, "180º");
  window.Choose(3);
  window.Ok();
  EXPECT_EQ(rig.delegate.screenConfig.Rotation, "270º");
}

TEST(ScreenWindow, StartsOnTheWholeDesktopAndOffersEachScreen) {
  DelegateRig rig;
  rig.screens = *ScreenLayout::Parse("1920x1080+0+0,1280x1024+1920+0");
  SetupScreens window(rig.delegate, rig.screens);
  window.OnAppear();
  EXPECT_EQ(window.MenuLabel(), "Map Tablet to Multi-Screen");
  EXPECT_EQ(window.curRect, (Rect{{0, 0}, {3200, 1080}}));
  EXPECT_EQ(window.ItemLabels(), (std::vector<std::string>{"Map Tablet to Multi-Screen", "Map Tablet to Screen 1",
                                                           "Map Tablet to Screen 2"}));
  window.Choose(2);
  EXPECT_EQ(window.curScreen, "Screen 2");
  // The second screen's bottom edge is 56 points below the primary's.
  EXPECT_EQ(window.curRect, (Rect{{1920, 56}, {1280, 1024}}));
  window.Choose(0);
  EXPECT_EQ(window.curScreen, "Multi Screens");
  EXPECT_EQ(window.curRect, (Rect{{0, 0}, {3200, 1080}}));
}

TEST(ScreenWindow, OkMapsTheChoiceAndAReopenedWindowStartsOnTheWholeDesktopAgain) {
  DelegateRig rig;
  rig.screens = *ScreenLayout::Parse("1920x1080+0+0,1280x1024+1920+0");
  {
    SetupScreens window(rig.delegate, rig.screens);
    window.OnAppear();
    window.Choose(1);
    window.Ok();
  }
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{0, 0}, {1920, 1080}}));
  SetupScreens again(rig.delegate, rig.screens);
  again.OnAppear();
  EXPECT_EQ(again.MenuLabel(), "Map Tablet to Multi-Screen");
  EXPECT_EQ(again.curRect, (Rect{{0, 0}, {3200, 1080}}));
  again.Cancel();
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{0, 0}, {1920, 1080}}));
}

}  // namespace
}  // namespace penmac::test
