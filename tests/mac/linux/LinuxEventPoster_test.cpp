// Records to Linux input: which virtual device, which evdev codes.
#include "mac/linux/LinuxEventPoster.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <tuple>
#include <vector>

#include "mac/EventPosting.h"
#include "mac/KeyTables.h"

namespace penmac::linux_layer {
namespace {

using Event = std::tuple<VirtualDevice, uint16_t, uint16_t, int32_t>;
constexpr auto kPen = VirtualDevice::Pen;
constexpr auto kKbd = VirtualDevice::Keyboard;
constexpr auto kMouse = VirtualDevice::Mouse;

class FakeInput : public IVirtualInput {
 public:
  std::vector<Event> events;  // SYN_REPORT included
  void Emit(VirtualDevice d, uint16_t type, uint16_t code, int32_t value) override {
    events.emplace_back(d, type, code, value);
  }
  void Sync(VirtualDevice d) override { events.emplace_back(d, EV_SYN, SYN_REPORT, 0); }
  std::vector<Event> Take() { return std::exchange(events, {}); }
};

class Poster : public ::testing::Test {
 protected:
  // A 1920 x 1080 desktop at 4 units per point.
  Poster() : poster(input, PenAxes{Rect{{0, 0}, {1920, 1080}}}) {}
  FakeInput input;
  LinuxEventPoster poster;
};

TEST_F(Poster, TheDesktopSpansThePenAxes) {
  const PenAxes axes{Rect{{0, 0}, {1920, 1080}}};
  EXPECT_EQ(axes.XMax(), 7679);
  EXPECT_EQ(axes.YMax(), 4319);
}

TEST_F(Poster, ProximityBringsThePenToItsPlace) {
  PostProximity(poster, Point{480, 270}, true);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kPen, EV_ABS, ABS_X, 1920},
                                              {kPen, EV_ABS, ABS_Y, 1080},
                                              {kPen, EV_KEY, BTN_TOOL_PEN, 1},
                                              {kPen, EV_SYN, SYN_REPORT, 0},
                                              {kPen, EV_ABS, ABS_X, 1920},
                                              {kPen, EV_ABS, ABS_Y, 1080},
                                              {kPen, EV_SYN, SYN_REPORT, 0}}));
}

TEST_F(Poster, TheTipIsTheLeftButtonWithPressureAndTilt) {
  PostProximity(poster, Point{480, 270}, true);
  input.Take();
  PostPoint(poster, event_type::kLeftMouseDown, Point{480.5, 270}, 0, 0.5, Point{1.0, -0.5}, 1);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kPen, EV_ABS, ABS_X, 1922},
                                              {kPen, EV_ABS, ABS_Y, 1080},
                                              {kPen, EV_ABS, ABS_PRESSURE, 1024},
                                              {kPen, EV_ABS, ABS_TILT_X, 64},
                                              {kPen, EV_ABS, ABS_TILT_Y, -32},
                                              {kPen, EV_KEY, BTN_TOUCH, 1},
                                              {kPen, EV_SYN, SYN_REPORT, 0}}));
  PostPoint(poster, event_type::kLeftMouseUp, Point{0, 0}, 0, 0, Point{}, 1);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kPen, EV_ABS, ABS_PRESSURE, 0},
                                              {kPen, EV_ABS, ABS_TILT_X, 0},
                                              {kPen, EV_ABS, ABS_TILT_Y, 0},
                                              {kPen, EV_KEY, BTN_TOUCH, 0},
                                              {kPen, EV_SYN, SYN_REPORT, 0}}));
}

TEST_F(Poster, RightAndOtherButtonsNearTheTabletAreTheStylusButtons) {
  PostProximity(poster, Point{1, 1}, true);
  input.Take();
  PostMouse(poster, "MR", Point{}, 1.0, Point{}, true);
  const auto events = input.Take();
  EXPECT_NE(std::find(events.begin(), events.end(), Event{kPen, EV_KEY, BTN_STYLUS, 1}), events.end());
  EXPECT_NE(std::find(events.begin(), events.end(), Event{kPen, EV_KEY, BTN_STYLUS2, 1}), events.end());
}

TEST_F(Poster, AButtonPressedWhileThePenIsAwayIsAMouseButtonUntilItsRelease) {
  PostMouse(poster, "L", Point{}, 1.0, Point{}, true);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kMouse, EV_KEY, BTN_LEFT, 1}, {kMouse, EV_SYN, SYN_REPORT, 0}}));
  PostProximity(poster, Point{10, 10}, true);  // the pen comes near meanwhile
  input.Take();
  PostMouse(poster, "L", Point{}, 0.0, Point{}, false);
  const auto events = input.Take();
  EXPECT_NE(std::find(events.begin(), events.end(), Event{kMouse, EV_KEY, BTN_LEFT, 0}), events.end());
  EXPECT_EQ(std::find(events.begin(), events.end(), Event{kPen, EV_KEY, BTN_TOUCH, 0}), events.end());
}

TEST_F(Poster, LeavingProximityLetsGoOfWhatThePenHeld) {
  PostProximity(poster, Point{10, 10}, true);
  PostPoint(poster, event_type::kLeftMouseDown, Point{10, 10}, 0, 1.0, Point{}, 1);
  input.Take();
  PostProximity(poster, Point{10, 10}, false);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kPen, EV_KEY, BTN_TOUCH, 0},
                                              {kPen, EV_ABS, ABS_PRESSURE, 0},
                                              {kPen, EV_KEY, BTN_TOOL_PEN, 0},
                                              {kPen, EV_SYN, SYN_REPORT, 0}}));
}

TEST_F(Poster, PositionsStayOnTheDesktop) {
  PostProximity(poster, Point{-50, 5000}, true);
  const auto events = input.Take();
  EXPECT_EQ(events[0], (Event{kPen, EV_ABS, ABS_X, 0}));
  EXPECT_EQ(events[1], (Event{kPen, EV_ABS, ABS_Y, 4319}));
}

TEST_F(Poster, AScrollStepIsOneWheelDetent) {
  PostWheel(poster, -2);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kMouse, EV_REL, REL_WHEEL, -2},
                                              {kMouse, EV_REL, REL_WHEEL_HI_RES, -240},
                                              {kMouse, EV_SYN, SYN_REPORT, 0}}));
}

TEST_F(Poster, ModifierEventsHoldTheirKeysAndTheKeyGoesAlone) {
  PostKey(poster, "⌘⇧∙F10", true);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kKbd, EV_KEY, KEY_LEFTMETA, 1},
                                              {kKbd, EV_SYN, SYN_REPORT, 0},
                                              {kKbd, EV_KEY, KEY_LEFTSHIFT, 1},
                                              {kKbd, EV_SYN, SYN_REPORT, 0},
                                              {kKbd, EV_KEY, KEY_F10, 1},
                                              {kKbd, EV_SYN, SYN_REPORT, 0}}));
  PostKey(poster, "⌘⇧∙F10", false);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kKbd, EV_KEY, KEY_LEFTMETA, 0},
                                              {kKbd, EV_SYN, SYN_REPORT, 0},
                                              {kKbd, EV_KEY, KEY_LEFTSHIFT, 0},
                                              {kKbd, EV_SYN, SYN_REPORT, 0},
                                              {kKbd, EV_KEY, KEY_F10, 0},
                                              {kKbd, EV_SYN, SYN_REPORT, 0}}));
}

TEST_F(Poster, AShiftedCharacterHoldsShiftForAsLongAsItsKey) {
  PostKey(poster, "!", true);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kKbd, EV_KEY, KEY_LEFTSHIFT, 1},
                                              {kKbd, EV_SYN, SYN_REPORT, 0},
                                              {kKbd, EV_KEY, KEY_1, 1},
                                              {kKbd, EV_SYN, SYN_REPORT, 0}}));
  PostKey(poster, "!", false);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kKbd, EV_KEY, KEY_1, 0},
                                              {kKbd, EV_KEY, KEY_LEFTSHIFT, 0},
                                              {kKbd, EV_SYN, SYN_REPORT, 0}}));
}

TEST_F(Poster, SoftKeysAreTheMediaKeys) {
  const std::pair<int, uint16_t> keys[] = {{1, KEY_MUTE},          {2, KEY_VOLUMEDOWN},  {3, KEY_VOLUMEUP},
                                           {4, KEY_REWIND},        {5, KEY_PLAYPAUSE},   {6, KEY_PREVIOUSSONG},
                                           {7, KEY_NEXTSONG},      {8, KEY_BRIGHTNESSUP}, {9, KEY_BRIGHTNESSDOWN}};
  for (const auto& [index, key] : keys) {
    PostFKey(poster, index);
    EXPECT_EQ(input.Take(), (std::vector<Event>{{kKbd, EV_KEY, key, 1},
                                                {kKbd, EV_SYN, SYN_REPORT, 0},
                                                {kKbd, EV_KEY, key, 0},
                                                {kKbd, EV_SYN, SYN_REPORT, 0}}))
        << index;
  }
  PostFKey(poster, 10);  // media key 25 has no Linux counterpart
  EXPECT_TRUE(input.Take().empty());
}

TEST_F(Poster, EveryKeyOfTheKeyStringsHasALinuxKey) {
  for (const auto& k : NamedKeys()) {
    PostKey(poster, k.name, true);
    EXPECT_FALSE(input.Take().empty()) << k.name;
  }
  for (const auto& c : UnshiftedCharacters()) {
    PostKey(poster, std::string(1, c.character), true);
    EXPECT_EQ(input.Take().size(), 2u) << c.character;
  }
}

}  // namespace
}  // namespace penmac::linux_layer
