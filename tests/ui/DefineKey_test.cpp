// The custom key window's rules: defaults by mode, what its close reads
// back from the rows, and "Set Default".
#include "ui/DefineKey.h"

#include <gtest/gtest.h>

#include "support/FakeKeyboardLayout.h"

namespace pen {
namespace {

using Bytes = std::array<uint8_t, 4>;
using S = TfrmDefineKey::Side;

class DefineKey : public ::testing::Test {
 protected:
  test::FakeKeyboardLayout layout;
  TfrmDefineKey w{layout};

  void Open(int mode, uint16_t left, uint16_t right) {
    w.SetKeyMode(mode);
    w.SetLeftCombo(left);
    w.SetRightCombo(right);
    w.FormShow(u"默认");
  }
  Bytes Close() {
    w.CloseBtnClick();
    return w.Bytes();
  }
};

TEST_F(DefineKey, SetDefaultGivesEachModeItsPair) {
  Open(1, 0, 0);  // zoom
  w.btnResetKeyClick();
  EXPECT_EQ(w.Controls(S::kLeft).text, "-");
  EXPECT_TRUE(w.Controls(S::kLeft).ctrl);
  EXPECT_FALSE(w.Controls(S::kLeft).alt || w.Controls(S::kLeft).shift);
  EXPECT_EQ(w.Controls(S::kRight).text, "=");
  EXPECT_TRUE(w.Controls(S::kRight).ctrl);
  EXPECT_EQ(Close(), (Bytes{1, 189, 1, 187}));

  Open(0, 0, 0);
  w.btnResetKeyClick();
  EXPECT_EQ(Close(), (Bytes{0, 219, 0, 221}));
  Open(2, 0, 0);
  w.btnResetKeyClick();
  EXPECT_EQ(w.Controls(S::kLeft).text, "PgUp");
  EXPECT_EQ(Close(), (Bytes{0, 33, 0, 34}));
  // Another mode changes nothing, defaults included.
  w.SetKeyMode(3);
  EXPECT_EQ(w.KeyMode(), 2);
  w.btnResetKeyClick();
  EXPECT_EQ(Close(), (Bytes{0, 33, 0, 34}));
}

TEST_F(DefineKey, OpenedAndClosedUntouchedItGivesBackWhatItWasGivenNamedKeysIncluded) {
  Open(2, 0x2105, 0x7003);  // Shift + PgUp; Ctrl + Alt + F1
  EXPECT_EQ(w.Controls(S::kLeft).text, "PgUp");
  EXPECT_TRUE(w.Controls(S::kLeft).shift);
  EXPECT_EQ(w.Controls(S::kRight).text, "F1");
  EXPECT_EQ(Close(), (Bytes{5, 33, 3, 112}));
  EXPECT_EQ(w.ResetText(), u"默认");
}

TEST_F(DefineKey, OneCharacterIsItsKeyPlusAndStarTheKeypadOnes) {
  Open(2, 0, 0);
  w.Type(S::kLeft, "x");
  w.Type(S::kRight, "+");
  EXPECT_EQ(Close(), (Bytes{0, 88, 0, 107}));
  w.Type(S::kLeft, "*");
  w.Type(S::kRight, "[");
  w.SetAlt(S::kRight, true);
  EXPECT_EQ(Close(), (Bytes{0, 106, 2, 219}));
}

TEST_F(DefineKey, ANamePickedFromTheListCountsATypedNameNotPickedAndEmptyGiveNoKey) {
  Open(2, 0, 0);
  w.Pick(S::kLeft, 20);  // "F2"
  w.Type(S::kRight, "Home");
  w.SetCtrl(S::kRight, true);
  EXPECT_EQ(Close(), (Bytes{0, 113, 1, 0}));
  w.Type(S::kLeft, "");
  w.Pick(S::kRight, 0);  // the empty entry
  EXPECT_EQ(Close(), (Bytes{0, 0, 1, 0}));
}

}  // namespace
}  // namespace pen
