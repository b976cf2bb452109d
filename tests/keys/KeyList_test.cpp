#include "keys/KeyList.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/FakeKeyboardLayout.h"

namespace pen::test {
namespace {

const FakeKeyboardLayout kUs;

TEST(KeyCatalogue, ListsThirtyThreeKeysWithMiddleButtonAsFourAndTheWheelLast) {
  ASSERT_EQ(KeyCatalogue.size(), 33u);
  EXPECT_EQ(KeyCatalogue[0].name, "");
  EXPECT_EQ(KeyCatalogue[0].code, 0);
  EXPECT_EQ(KeyCatalogue[1].name, "MouseLeft");
  EXPECT_EQ(KeyCatalogue[3].name, "MouseMiddle");
  EXPECT_EQ(KeyCatalogue[3].code, 4);
  EXPECT_EQ(KeyCatalogue[15].name, "Del");
  EXPECT_EQ(KeyCatalogue[15].code, 46);
  EXPECT_EQ(KeyCatalogue[19].name, "F1");
  EXPECT_EQ(KeyCatalogue[19].code, 112);
  EXPECT_EQ(KeyCatalogue[30].name, "F12");
  EXPECT_EQ(KeyCatalogue[30].code, 123);
  EXPECT_EQ(KeyCatalogue[31].name, "WheelUp");
  EXPECT_EQ(KeyCatalogue[31].code, 5);
  EXPECT_EQ(KeyCatalogue[32].name, "WheelDown");
  EXPECT_EQ(KeyCatalogue[32].code, 6);
  // No code is listed twice, and 3 is never offered.
  for (size_t i = 1; i < KeyCatalogue.size(); ++i) {
    EXPECT_NE(KeyCatalogue[i].code, 3);
    for (size_t j = i + 1; j < KeyCatalogue.size(); ++j) EXPECT_NE(KeyCatalogue[i].code, KeyCatalogue[j].code);
  }
}

TEST(UsageCharTable, FollowsTheKeyboardUsagePageAndFindsTheFirstIndexOfACharacter) {
  EXPECT_EQ(UsageCharTable[4], 'a');
  EXPECT_EQ(UsageCharTable[29], 'z');
  EXPECT_EQ(UsageCharTable[30], '1');
  EXPECT_EQ(UsageCharTable[39], '0');
  EXPECT_EQ(UsageCharTable[44], ' ');
  EXPECT_EQ(UsageCharTable[49], '\\');
  EXPECT_EQ(UsageCharTable[87], '+');
  for (size_t i : {0, 3, 40, 43, 50, 57, 83}) EXPECT_EQ(UsageCharTable[i], '~') << i;
  const auto first = [](char c) { return std::find(UsageCharTable.begin(), UsageCharTable.end(), c) - UsageCharTable.begin(); };
  EXPECT_EQ(first('/'), 56);
  EXPECT_EQ(first('-'), 45);
}

TEST(CharToKeyCode, PlusAndStarAreTheKeypadKeysWhateverTheLayout) {
  EXPECT_EQ(CharToKeyCode('+', kUs), 107);
  EXPECT_EQ(CharToKeyCode('*', kUs), 106);
  // Everything else is the layout's answer, shift state included.
  EXPECT_EQ(CharToKeyCode('-', kUs) & 0xFF, 189);
  EXPECT_EQ(CharToKeyCode('A', kUs), 0x141);
}

TEST(ModifiersToShiftState, SwapsCtrlAndShift) {
  EXPECT_EQ(ModifiersToShiftState(1), 4);  // Ctrl
  EXPECT_EQ(ModifiersToShiftState(2), 2);  // Alt
  EXPECT_EQ(ModifiersToShiftState(4), 1);  // Shift
  EXPECT_EQ(ModifiersToShiftState(7), 7);
  EXPECT_EQ(ModifiersToShiftState(0xF8), 0);  // other bits are ignored
}

TEST(SelfDefinedKeyToDefinition, TurnsTheTabletsOwnKeyIntoADefinition) {
  EXPECT_EQ(SelfDefinedKeyToDefinition(29, 1, kUs), (KeyDefinition{1, 90}));  // Ctrl+Z
  EXPECT_EQ(SelfDefinedKeyToDefinition(44, 2, kUs), (KeyDefinition{4, 32}));  // Shift+Space
  EXPECT_EQ(SelfDefinedKeyToDefinition(4, 4, kUs), (KeyDefinition{2, 65}));   // Alt+A
  EXPECT_EQ(SelfDefinedKeyToDefinition(4, 7, kUs), (KeyDefinition{7, 65}));
  EXPECT_EQ(SelfDefinedKeyToDefinition(45, 0, kUs), (KeyDefinition{0, 189}));
  // An entry without a character sends the key the layout has for '~'.
  EXPECT_EQ(SelfDefinedKeyToDefinition(0, 0, kUs), (KeyDefinition{0, 192}));
}

TEST(SelfDefinedKeyToDefinition, UsagesBeyondTheTableBecomeCtrlZ) {
  EXPECT_EQ(SelfDefinedKeyToDefinition(87, 0, kUs), (KeyDefinition{0, 107}));  // still in the table: keypad +
  EXPECT_EQ(SelfDefinedKeyToDefinition(88, 0, kUs), (KeyDefinition{1, 90}));
  EXPECT_EQ(SelfDefinedKeyToDefinition(255, 6, kUs), (KeyDefinition{1, 90}));
}

TEST(KeyCodeName, CatalogueNamesFirstThenThePrintableCharacter) {
  EXPECT_EQ(KeyCodeName(0, kUs), "");
  EXPECT_EQ(KeyCodeName(112, kUs), "F1");
  EXPECT_EQ(KeyCodeName(5, kUs), "WheelUp");
  EXPECT_EQ(KeyCodeName(4, kUs), "MouseMiddle");
  EXPECT_EQ(KeyCodeName(65, kUs), "A");
  EXPECT_EQ(KeyCodeName(189, kUs), "-");
  EXPECT_EQ(KeyCodeName(221, kUs), "]");
  // Neither listed nor printable.
  EXPECT_EQ(KeyCodeName(3, kUs), "");
  EXPECT_EQ(KeyCodeName(29, kUs), "");
  EXPECT_EQ(KeyCodeName(255, kUs), "");
}

TEST(KeyDefinitionText, JoinsShiftCtrlAltAndTheKeyName) {
  EXPECT_EQ(KeyDefinitionText({7, 112}, kUs), "Shift + Ctrl + Alt + F1");
  EXPECT_EQ(KeyDefinitionText({1, 189}, kUs), "Ctrl + -");
  EXPECT_EQ(KeyDefinitionText({1, 0}, kUs), "Ctrl");
  EXPECT_EQ(KeyDefinitionText({0, 9}, kUs), "Tab");
  EXPECT_EQ(KeyDefinitionText({0, 0}, kUs), "");
  EXPECT_EQ(KeyDefinitionText({2, 29}, kUs), "Alt");  // a key without a name shows nothing
}

TEST(KeyDefinitionText, BreaksBeforeAltOnlyWhenTheCaptionIsAlreadyLong) {
  EXPECT_EQ(KeyDefinitionText({7, 112}, kUs, true), "Shift + Ctrl + \rAlt + F1");
  EXPECT_EQ(KeyDefinitionText({3, 65}, kUs, true), "Ctrl + Alt + A");
  EXPECT_EQ(KeyDefinitionText({6, 65}, kUs, true), "Shift + Alt + A");
}

TEST(KeyCodeFromText, OneCharacterIsTypedLongerTextMustBeACatalogueName) {
  EXPECT_EQ(KeyCodeFromText("x", kUs), 88);
  EXPECT_EQ(KeyCodeFromText("X", kUs), 88);  // the shift state is dropped
  EXPECT_EQ(KeyCodeFromText("+", kUs), 107);
  EXPECT_EQ(KeyCodeFromText("f12", kUs), 123);
  EXPECT_EQ(KeyCodeFromText("WHEELDOWN", kUs), 6);
  EXPECT_EQ(KeyCodeFromText("Pause", kUs), 0);
  EXPECT_EQ(KeyCodeFromText("", kUs), 0);
}

}  // namespace
}  // namespace pen::test
