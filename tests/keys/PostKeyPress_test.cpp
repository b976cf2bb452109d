#include "keys/PostKeyPress.h"

#include <gtest/gtest.h>

#include "support/FakeKeyboardLayout.h"
#include "support/RecordingInput.h"

namespace pen::test {
namespace {

using Events = std::vector<std::string>;

class Synthesis : public ::testing::Test {
 protected:
  RecordingInput input;
  FakeKeyboardLayout layout;
  SynthPorts to{input, layout};

  Events Press(uint16_t key, ShiftState shift) {
    PostKeyPress(to, key, shift, true);
    return input.Take();
  }
  Events Release(uint16_t key, ShiftState shift) {
    PostKeyPress(to, key, shift, false);
    return input.Take();
  }
};

TEST_F(Synthesis, ModifiersGoDownCtrlShiftAltAroundTheKeyAndUpInTheSameOrderAfterIt) {
  const ShiftState all = shift_state::kCtrl | shift_state::kShift | shift_state::kAlt;
  EXPECT_EQ(Press('A', all), (Events{"down 17/29", "down 16/42", "down 18/56", "down 65/30"}));
  EXPECT_EQ(Release('A', all), (Events{"up 65/30", "up 17/29", "up 16/42", "up 18/56"}));
}

TEST_F(Synthesis, ModifiersAloneWithKeyZeroOrKey255) {
  EXPECT_EQ(Press(0, shift_state::kCtrl), (Events{"down 17/29"}));
  EXPECT_EQ(Release(0, shift_state::kCtrl), (Events{"up 17/29"}));
  EXPECT_EQ(Press(255, shift_state::kCtrl), (Events{"down 17/29"}));
  EXPECT_EQ(Release(255, shift_state::kCtrl), (Events{"up 17/29"}));
  EXPECT_EQ(Press(0, 0), Events{});
}

TEST_F(Synthesis, NavigationKeysGetTheirScanCodeButNeverTheExtendedFlag) {
  // RecordingInput marks any flag but key-up as "odd flags".
  EXPECT_EQ(Press(37, 0), (Events{"down 37/75"}));
  EXPECT_EQ(Release(46, 0), (Events{"up 46/83"}));
}

TEST_F(Synthesis, OnlyTheLowByteOfTheKeyCodeIsSent) {
  EXPECT_EQ(Press(0x141, 0), (Events{"down 65/30"}));
}

TEST_F(Synthesis, AKeyWithoutAScanCodeIsStillSent) {
  EXPECT_EQ(Press(29, shift_state::kCtrl), (Events{"down 17/29", "down 29/0"}));
}

TEST_F(Synthesis, MouseButtonsClickAtThePointerAndCodeThreeDoesNothing) {
  EXPECT_EQ(Press(1, 0), (Events{"mouse 0002"}));
  EXPECT_EQ(Release(1, 0), (Events{"mouse 0004"}));
  EXPECT_EQ(Press(2, 0), (Events{"mouse 0008"}));
  EXPECT_EQ(Release(2, 0), (Events{"mouse 0010"}));
  EXPECT_EQ(Press(4, 0), (Events{"mouse 0020"}));
  EXPECT_EQ(Release(4, 0), (Events{"mouse 0040"}));
  EXPECT_EQ(Press(3, 0), Events{});
  EXPECT_EQ(Release(3, 0), Events{});
  PostMouseAction(to, 0, true);
  PostMouseAction(to, 0, false);
  EXPECT_EQ(input.Take(), Events{});
}

TEST_F(Synthesis, WheelCodesNotchOnThePressOnlyWithPlus120AndMinus121) {
  EXPECT_EQ(Press(5, 0), (Events{"wheel +120"}));
  EXPECT_EQ(Release(5, 0), Events{});
  EXPECT_EQ(Press(6, shift_state::kCtrl), (Events{"down 17/29", "wheel -121"}));
  EXPECT_EQ(Release(6, shift_state::kCtrl), (Events{"up 17/29"}));
}

}  // namespace
}  // namespace pen::test
