#include "ui/SetKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/FakeKeyboardLayout.h"
#include "ui/SetKeysModels.h"

namespace pen {
namespace {

using test::FakeKeyboardLayout;

// The factory bytes of the R711 group, as "R711Def.bin" holds them.
ButtonDefinitions R711Factory() {
  ButtonDefinitions b{};
  const uint8_t bytes[] = {0, 69, 0, 66, 1, 189, 1, 187, 0, 219, 0, 221, 0, 5,
                           0, 9,  0, 6,  0, 32, 1, 0,   2, 0,   1, 29,  0, 2};
  std::copy(std::begin(bytes), std::end(bytes), b.begin());
  return b;
}

class SetKeys : public ::testing::Test {
 protected:
  FakeKeyboardLayout layout;
  ButtonDefinitions block = R711Factory();
  TSetKeys keys{*FindSetKeysModel(KeySetupWindow::R711), layout};

  void SetUp() override { Open(keys); }
  void Open(TSetKeys& k) {
    k.SetDefinitions(&block);
    k.FormShow(u"Button No.", u"Reset");
  }
  void Type(std::string_view text) { keys.cbb1Change(text); }
  void Pick(std::string_view name) {
    for (size_t i = 0; i < KeyCatalogue.size(); ++i) {
      if (KeyCatalogue[i].name == name) keys.cbb1Select(static_cast<int>(i));
    }
  }
};

TEST_F(SetKeys, EveryButtonShowsItsCombinationAndButtonOneStartsSelected) {
  const std::vector<std::string> expected = {"E", "B", "Ctrl + -", "Ctrl + =", "[", "]", "WheelUp", "Tab",
                                             "WheelDown", "Space", "Ctrl", "Alt"};
  for (size_t b = 1; b <= 12; ++b) EXPECT_EQ(keys.ButtonCaption(b), expected[b - 1]) << b;
  EXPECT_EQ(keys.SelectedButton(), 1u);
  EXPECT_EQ(keys.Result(), "E");
  EXPECT_EQ(keys.ComboText(), "E");
  EXPECT_EQ(keys.KeyRecognised(), TSetKeys::kSingleCharacter);
}

TEST_F(SetKeys, OpeningAndClosingWithoutChangesIsCancelAndLeavesTheDefinitions) {
  keys.FlatBtnClick(3);
  keys.BtnUpdateClick();  // Ctrl + "-" applied as it was
  EXPECT_FALSE(keys.CloseBtnClick());
  EXPECT_EQ(block, R711Factory());
}

TEST_F(SetKeys, SelectingAButtonShowsItsModifiersAndKey) {
  keys.FlatBtnClick(3);
  EXPECT_EQ(keys.SelectedButton(), 3u);
  EXPECT_TRUE(keys.Ctrl());
  EXPECT_FALSE(keys.Shift());
  EXPECT_FALSE(keys.Alt());
  EXPECT_EQ(keys.ComboText(), "-");
  EXPECT_EQ(keys.Result(), "Ctrl + -");
  keys.FlatBtnClick(13);  // no such button
  EXPECT_EQ(keys.SelectedButton(), 3u);
}

TEST_F(SetKeys, APlusStoresTheKeypadPlusAndALetterIsShownInUpperCase) {
  Type("+");
  keys.BtnUpdateClick();
  EXPECT_EQ(keys.Working(1), (KeyDefinition{0, 107}));
  keys.FlatBtnClick(2);
  Type("a");
  EXPECT_EQ(keys.Result(), "A");
  EXPECT_EQ(keys.ComboText(), "A");
  keys.BtnUpdateClick();
  EXPECT_EQ(keys.Working(2), (KeyDefinition{0, 65}));
  EXPECT_EQ(keys.ButtonCaption(2), "A");
}

TEST_F(SetKeys, TypedF5IsShownButStoresAKeyOnlyWhenPickedFromTheList) {
  Type("f5");
  EXPECT_EQ(keys.Result(), "F5");
  EXPECT_EQ(keys.ComboText(), "F5");
  keys.BtnUpdateClick();
  EXPECT_EQ(keys.Working(1), (KeyDefinition{0, 0}));

  Pick("F5");
  EXPECT_EQ(keys.Result(), "F5");
  keys.BtnUpdateClick();
  EXPECT_EQ(keys.Working(1), (KeyDefinition{0, 116}));
}

TEST_F(SetKeys, ANamedKeyShownOnSelectingAButtonIsKeptWhenOnlyTheModifiersChange) {
  Pick("F5");
  keys.BtnUpdateClick();
  keys.FlatBtnClick(2);
  keys.FlatBtnClick(1);
  keys.chkShiftMouseUp(true);
  EXPECT_EQ(keys.Result(), "Shift + F5");
  keys.BtnUpdateClick();
  EXPECT_EQ(keys.Working(1), (KeyDefinition{4, 116}));
}

TEST_F(SetKeys, TextThatNamesNoKeyKeepsOnlyTheModifiers) {
  keys.chkCtrlMouseUp(true);
  Type("xyz");
  EXPECT_EQ(keys.KeyRecognised(), 0);
  EXPECT_EQ(keys.Result(), "Ctrl");
  keys.BtnUpdateClick();
  EXPECT_EQ(keys.Working(1), (KeyDefinition{1, 0}));
  EXPECT_EQ(keys.ComboIndex(), 0);
  EXPECT_EQ(keys.ComboText(), "");
  EXPECT_EQ(keys.ButtonCaption(1), "Ctrl");
}

TEST_F(SetKeys, TheLineBreaksBeforeAltPastTwelveCharacters) {
  keys.chkShiftMouseUp(true);
  keys.chkCtrlMouseUp(true);
  keys.chkAltMouseUp(true);
  Type("");
  EXPECT_EQ(keys.Result(), "Shift + Ctrl + \rAlt");
  Type("a");
  EXPECT_EQ(keys.Result(), "Shift + Ctrl + \rAlt + A");
  keys.BtnUpdateClick();
  EXPECT_EQ(keys.Working(1), (KeyDefinition{7, 65}));
  EXPECT_EQ(keys.ButtonCaption(1), "Shift + Ctrl + \rAlt + A");

  keys.chkShiftMouseUp(false);  // "Ctrl + " is short: no break before Alt, but one before the key
  EXPECT_EQ(keys.Result(), "Ctrl + Alt + \rA");
  keys.chkCtrlMouseUp(false);
  EXPECT_EQ(keys.Result(), "Alt + A");
}

TEST_F(SetKeys, TheKeyGoesOnANewLineWhenMoreThanTwelveCharactersPrecedeIt) {
  keys.chkCtrlMouseUp(true);
  keys.chkAltMouseUp(true);
  Pick("MouseMiddle");
  EXPECT_EQ(keys.Result(), "Ctrl + Alt + \rMouseMiddle");
  keys.BtnUpdateClick();
  EXPECT_EQ(keys.Working(1), (KeyDefinition{3, 4}));
  // Rebuilt from the bytes, the caption breaks only before "Alt".
  EXPECT_TRUE(keys.CloseBtnClick());
  Open(keys);
  EXPECT_EQ(keys.ButtonCaption(1), "Ctrl + Alt + MouseMiddle");
}

TEST_F(SetKeys, ResetGivesTheSelectedButtonItsFactoryDefinition) {
  keys.FlatBtnClick(3);
  Type("a");
  keys.BtnUpdateClick();
  EXPECT_EQ(keys.Working(3), (KeyDefinition{1, 65}));
  keys.BtnResetClick();
  EXPECT_EQ(keys.Working(3), (KeyDefinition{1, 189}));
  EXPECT_EQ(keys.ButtonCaption(3), "Ctrl + -");
  EXPECT_EQ(keys.Result(), "Ctrl + -");
  EXPECT_EQ(keys.SelectedButton(), 3u);

  TSetKeys ring(*FindSetKeysModel(KeySetupWindow::R766), layout);
  Open(ring);
  ring.BtnResetClick();
  EXPECT_EQ(ring.Working(1), (KeyDefinition{1, 187}));
  ring.FlatBtnClick(7);
  ring.BtnResetClick();
  EXPECT_EQ(ring.Working(7), (KeyDefinition{4, 0}));
  EXPECT_EQ(ring.ButtonCaption(7), "Shift");

  TSetKeys pairs(*FindSetKeysModel(KeySetupWindow::R733), layout);
  Open(pairs);
  pairs.FlatBtnClick(4);
  pairs.BtnResetClick();
  EXPECT_EQ(pairs.Working(4), (KeyDefinition{0, 9}));
}

TEST_F(SetKeys, ClosingWritesTheChangedBytesAndIsOkOnlyWhenOneChanged) {
  keys.FlatBtnClick(1);
  keys.chkCtrlMouseUp(true);
  Type("A");
  keys.BtnUpdateClick();
  EXPECT_TRUE(keys.CloseBtnClick());
  ButtonDefinitions expected = R711Factory();
  expected[0] = 1;
  expected[1] = 65;
  EXPECT_EQ(block, expected);
  EXPECT_FALSE(keys.CloseBtnClick());  // nothing differs any more
}

TEST_F(SetKeys, EachWindowComparesAndCopiesItsOwnByteCount) {
  const std::pair<KeySetupWindow, size_t> windows[] = {{KeySetupWindow::R711, 24}, {KeySetupWindow::R733, 8},
                                                       {KeySetupWindow::R755, 24}, {KeySetupWindow::R766, 16},
                                                       {KeySetupWindow::R788, 16}};
  for (const auto& [which, bytes] : windows) {
    ButtonDefinitions defs{};
    TSetKeys k(*FindSetKeysModel(which), layout);
    k.SetDefinitions(&defs);
    defs.fill(0x55);  // changed behind the window's back: it writes its own copy back
    EXPECT_TRUE(k.CloseBtnClick());
    EXPECT_EQ(static_cast<size_t>(std::count(defs.begin(), defs.end(), 0)), bytes) << static_cast<int>(which);
    EXPECT_EQ(defs[bytes], 0x55);
  }
}

TEST(SetKeysModels, TheFiveWindowsHaveTheirButtonsInsideTheirPanelsWithoutOverlap) {
  const std::pair<KeySetupWindow, size_t> buttons[] = {{KeySetupWindow::R711, 12}, {KeySetupWindow::R733, 4},
                                                       {KeySetupWindow::R755, 8},  {KeySetupWindow::R766, 8},
                                                       {KeySetupWindow::R788, 8}};
  for (const auto& [which, count] : buttons) {
    const SetKeysModel& m = *FindSetKeysModel(which);
    EXPECT_EQ(m.buttons, count);
    for (size_t a = 1; a <= m.buttons; ++a) {
      const Box b = SetKeysButtonBox(m, a);
      EXPECT_GE(b.left, 0);
      EXPECT_GE(b.top, 0);
      EXPECT_LE(b.left + b.width, m.panel.width) << m.className << " " << a;
      EXPECT_LE(b.top + b.height, m.panel.height) << m.className << " " << a;
      for (size_t c = a + 1; c <= m.buttons; ++c) {
        const Box o = SetKeysButtonBox(m, c);
        const bool apart = b.left + b.width <= o.left || o.left + o.width <= b.left || b.top + b.height <= o.top ||
                           o.top + o.height <= b.top;
        EXPECT_TRUE(apart) << m.className << " " << a << " " << c;
      }
    }
    EXPECT_LE(m.panel.left + m.panel.width, m.clientWidth);
    EXPECT_LE(m.panel.top + m.panel.height, m.clientHeight);
  }
  const SetKeysModel& r733 = *FindSetKeysModel(KeySetupWindow::R733);
  EXPECT_EQ(r733.clientWidth, 819);
  EXPECT_EQ(r733.clientHeight, 380);
  EXPECT_LT(r733.editor.top + r733.editor.height, r733.panel.top);  // the editor above
  EXPECT_EQ(SetKeysButtonBox(*FindSetKeysModel(KeySetupWindow::R711), 1).width, 130);
  EXPECT_EQ(SetKeysButtonBox(*FindSetKeysModel(KeySetupWindow::R711), 1).height, 60);
  EXPECT_EQ(SetKeysButtonBox(*FindSetKeysModel(KeySetupWindow::R788), 5).width, 30);
  EXPECT_EQ(FindSetKeysModel(KeySetupWindow::None), nullptr);
}

TEST(SetKeysModels, RingButtonsSitTopBottomLeftAndRightOfTheRing) {
  const SetKeysModel& m = *FindSetKeysModel(KeySetupWindow::R766);
  auto centre = [&](size_t b) {
    const Box x = SetKeysButtonBox(m, b);
    return std::pair{x.left + x.width / 2, x.top + x.height / 2};
  };
  EXPECT_EQ(centre(1).first, centre(2).first);
  EXPECT_LT(centre(1).second, centre(3).second);
  EXPECT_GT(centre(2).second, centre(3).second);
  EXPECT_EQ(centre(3).second, centre(4).second);
  EXPECT_LT(centre(3).first, centre(4).first);
  EXPECT_GT(SetKeysButtonBox(*FindSetKeysModel(KeySetupWindow::R788), 1).top, SetKeysButtonBox(m, 1).top);
}

}  // namespace
}  // namespace pen
