// Input only reaches the active session; what was held is let go when the
// session goes to the background.
#include "mac/linux/SessionGate.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <string>
#include <vector>

namespace penmac::linux_layer {
namespace {

// Each event as "device type code value", each frame end as "device SYN".
class Recorder : public IVirtualInput {
 public:
  void Emit(VirtualDevice device, uint16_t type, uint16_t code, int32_t value) override {
    events.push_back(Name(device) + " " + std::to_string(type) + " " + std::to_string(code) + " " + std::to_string(value));
  }
  void Sync(VirtualDevice device) override { events.push_back(Name(device) + " SYN"); }
  static std::string Name(VirtualDevice d) {
    return d == VirtualDevice::Pen ? "pen" : d == VirtualDevice::Keyboard ? "kbd" : "mouse";
  }
  std::vector<std::string> Take() { return std::exchange(events, {}); }
  std::vector<std::string> events;
};

using V = std::vector<std::string>;
constexpr auto kPenTarget = VirtualDevice::Pen;
constexpr auto kKbdTarget = VirtualDevice::Keyboard;
constexpr auto kMouseTarget = VirtualDevice::Mouse;

class Gate : public ::testing::Test {
 protected:
  // The pen hovering, then touching at pressure 800 with its lower button
  // held; Ctrl held on the keyboard; the mouse's right button held.
  void HoldEverything() {
    gate.Emit(kPenTarget, EV_KEY, BTN_TOOL_PEN, 1);
    gate.Emit(kPenTarget, EV_ABS, ABS_X, 100);
    gate.Sync(kPenTarget);
    gate.Emit(kPenTarget, EV_KEY, BTN_TOUCH, 1);
    gate.Emit(kPenTarget, EV_KEY, BTN_STYLUS, 1);
    gate.Emit(kPenTarget, EV_ABS, ABS_PRESSURE, 800);
    gate.Sync(kPenTarget);
    gate.Emit(kKbdTarget, EV_KEY, KEY_LEFTCTRL, 1);
    gate.Sync(kKbdTarget);
    gate.Emit(kMouseTarget, EV_KEY, BTN_RIGHT, 1);
    gate.Sync(kMouseTarget);
  }
  Recorder devices;
  SessionGate gate{devices};
};

TEST_F(Gate, WhileActiveEveryEventAndFramePassesUnchanged) {
  gate.Emit(kKbdTarget, EV_KEY, KEY_A, 1);
  gate.Sync(kKbdTarget);
  gate.Emit(kMouseTarget, EV_REL, REL_WHEEL, -1);
  gate.Sync(kMouseTarget);
  EXPECT_EQ(devices.Take(), (V{"kbd 1 30 1", "kbd SYN", "mouse 2 8 -1", "mouse SYN"}));
}

TEST_F(Gate, LeavingTheSessionLetsGoOfEverythingHeldOnEachDevice) {
  HoldEverything();
  devices.Take();
  gate.SetActive(false);
  // Pressure to 0 with the tip, the tip and the button up, the pen leaving
  // last; Ctrl up; the right button up: each device one frame.
  EXPECT_EQ(devices.Take(), (V{"pen 3 24 0", "pen 1 330 0", "pen 1 331 0", "pen 1 320 0", "pen SYN", "kbd 1 29 0",
                               "kbd SYN", "mouse 1 273 0", "mouse SYN"}));
}

TEST_F(Gate, WhileInactiveNothingIsPosted) {
  gate.SetActive(false);
  gate.Emit(kKbdTarget, EV_KEY, KEY_A, 1);
  gate.Sync(kKbdTarget);
  gate.Emit(kPenTarget, EV_KEY, BTN_TOOL_PEN, 1);
  gate.Emit(kPenTarget, EV_ABS, ABS_X, 5);
  gate.Sync(kPenTarget);
  gate.Emit(kMouseTarget, EV_REL, REL_WHEEL, 1);
  gate.Sync(kMouseTarget);
  EXPECT_TRUE(devices.Take().empty());
}

TEST_F(Gate, BackInTheSessionThePenReturnsWithItsNextEventButHeldFunctionsStayUp) {
  HoldEverything();
  gate.SetActive(false);
  gate.SetActive(true);
  devices.Take();
  // The pen moves on, still touching, button still held; Ctrl's release and
  // the right button's release arrive.
  gate.Emit(kPenTarget, EV_ABS, ABS_X, 120);
  gate.Emit(kPenTarget, EV_ABS, ABS_PRESSURE, 810);
  gate.Sync(kPenTarget);
  gate.Emit(kKbdTarget, EV_KEY, KEY_LEFTCTRL, 0);
  gate.Sync(kKbdTarget);
  gate.Emit(kMouseTarget, EV_KEY, BTN_RIGHT, 0);
  gate.Sync(kMouseTarget);
  // The tip and the tool again before the movement; the stylus button not;
  // the releases of what is already up are not repeated (no empty frames).
  EXPECT_EQ(devices.Take(), (V{"pen 1 320 1", "pen 1 330 1", "pen 3 0 120", "pen 3 24 810", "pen SYN"}));
  // A new press is posted.
  gate.Emit(kKbdTarget, EV_KEY, KEY_LEFTCTRL, 1);
  gate.Sync(kKbdTarget);
  EXPECT_EQ(devices.Take(), (V{"kbd 1 29 1", "kbd SYN"}));
}

TEST_F(Gate, APenThatLeftWhileTheSessionWasAwayDoesNotComeBack) {
  HoldEverything();
  gate.SetActive(false);
  gate.Emit(kPenTarget, EV_KEY, BTN_TOUCH, 0);
  gate.Emit(kPenTarget, EV_KEY, BTN_TOOL_PEN, 0);
  gate.Sync(kPenTarget);
  gate.SetActive(true);
  devices.Take();
  gate.Emit(kKbdTarget, EV_KEY, KEY_B, 1);
  gate.Sync(kKbdTarget);
  gate.Emit(kPenTarget, EV_KEY, BTN_TOOL_PEN, 1);  // and a new hover
  gate.Emit(kPenTarget, EV_ABS, ABS_X, 7);
  gate.Sync(kPenTarget);
  EXPECT_EQ(devices.Take(), (V{"kbd 1 48 1", "kbd SYN", "pen 1 320 1", "pen 3 0 7", "pen SYN"}));
}

TEST_F(Gate, LeavingTwiceOrWithNothingHeldPostsNothing) {
  gate.SetActive(false);
  gate.SetActive(false);
  EXPECT_TRUE(devices.Take().empty());
}

}  // namespace
}  // namespace penmac::linux_layer
