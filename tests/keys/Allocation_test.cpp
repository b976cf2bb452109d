// The key path allocates nothing: tablet buttons, pen buttons, the repeat
// tick and a wheel action.
#include <gtest/gtest.h>

#include "keys/WheelFunc.h"
#include "support/AllocationCounter.h"
#include "support/FakeKeyboardLayout.h"
#include "support/QuietButtons.h"

namespace pen::test {
namespace {

TEST(KeysAllocation, AKeyReportThroughTheButtonManagerNeverAllocates) {
  QuietButtons<> rig;
  rig.Connect("R711");
  TButtonManager& buttons = rig.buttons;
  ManualTimer& timer = rig.timer;

  AllocationCounter counter;
  for (int i = 0; i < 2000; ++i) {
    // Every tablet key, both pen buttons and the volume soft keys in turn.
    const uint32_t mask = i % 2 ? (1u << (1 + (i / 2) % 14)) | (i % 10 == 1 ? 1u << 16 : 0u) : 0u;
    buttons.SetButtonState(mask);
    if (timer.Running()) timer.Tick();
  }
  EXPECT_EQ(counter.Count(), 0);
  EXPECT_GT(rig.input.events.load(), 2000);
}

TEST(KeysAllocation, AWheelActionNeverAllocates) {
  CountingInput input;
  FakeKeyboardLayout layout;
  SilentVolume volume;
  NoWaitClock clock;
  TWheelFunction wheel{WheelFunctionPorts{{input, layout}, volume, clock, nullptr}};
  AllocationCounter counter;
  for (int mode = 0; mode < 8; ++mode) {
    wheel.SetMode(mode);
    wheel.ExecuteStep(0xFF);
    wheel.ExecuteStep(0x01);
  }
  EXPECT_EQ(counter.Count(), 0);
  EXPECT_GT(input.events.load(), 0);
}

}  // namespace
}  // namespace pen::test
