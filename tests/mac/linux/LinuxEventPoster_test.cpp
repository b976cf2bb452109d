// Records to Linux input: which virtual device, which evdev codes.
#include "mac/linux/LinuxEventPoster.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <tuple>
#include <vector>

#include "mac/EventPosting.h"
#include "mac/KeyTables.h"
#include "FakeVirtualInput.h"

namespace penmac::linux_layer {
namespace {

constexpr auto kPen = VirtualDevice::Pen;
constexpr auto kKbd = VirtualDevice::Keyboard;
constexpr auto kMouse = VirtualDevice::Mouse;

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

TEST_F(Poster, RightAndOtherButtonsNearTheTabletAreTheStylusButtonsAndLeaveThePressureAlone) {
  PostProximity(poster, Point{1, 1}, true);
  input.Take();
  PostMouse(poster, "MR", Point{}, 1.0, Point{0.5, 0.5}, true);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kPen, EV_KEY, BTN_STYLUS, 1},
                                              {kPen, EV_SYN, SYN_REPORT, 0},
                                              {kPen, EV_KEY, BTN_STYLUS2, 1},
                                              {kPen, EV_SYN, SYN_REPORT, 0}}));
  PostMouse(poster, "MR", Point{}, 0.0, Point{}, false);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kPen, EV_KEY, BTN_STYLUS, 0},
                                              {kPen, EV_SYN, SYN_REPORT, 0},
                                              {kPen, EV_KEY, BTN_STYLUS2, 0},
                                              {kPen, EV_SYN, SYN_REPORT, 0}}));
}

TEST_F(Poster, ADefinitionsLeftButtonIsTheMouseDevicesNearTheTabletOrAway) {
  PostProximity(poster, Point{1, 1}, true);
  input.Take();
  PostMouse(poster, "L", Point{}, 1.0, Point{}, true);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kMouse, EV_KEY, BTN_LEFT, 1}, {kMouse, EV_SYN, SYN_REPORT, 0}}));
  PostMouse(poster, "L", Point{}, 0.0, Point{}, false);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kMouse, EV_KEY, BTN_LEFT, 0}, {kMouse, EV_SYN, SYN_REPORT, 0}}));
}

TEST_F(Poster, AButtonPressedWhileThePenIsAwayIsAMouseButtonUntilItsRelease) {
  PostMouse(poster, "R", Point{}, 1.0, Point{}, true);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kMouse, EV_KEY, BTN_RIGHT, 1}, {kMouse, EV_SYN, SYN_REPORT, 0}}));
  PostProximity(poster, Point{10, 10}, true);  // the pen comes near meanwhile
  input.Take();
  PostMouse(poster, "R", Point{}, 0.0, Point{}, false);
  EXPECT_EQ(input.Take(), (std::vector<Event>{{kMouse, EV_KEY, BTN_RIGHT, 0}, {kMouse, EV_SYN, SYN_REPORT, 0}}));
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

TEST_F(Poster, ADesktopThatGrewSpansTheNewAxesFromTheNextEventOn) {
  // A second screen to the left: the desktop starts at x = -1280.
  poster.SetAxes(PenAxes{Rect{{-1280, 0}, {3200, 1080}}});
  PostProximity(poster, Point{-1280, 270}, true);
  auto events = input.Take();
  EXPECT_EQ(events[0], (Event{kPen, EV_ABS, ABS_X, 0}));
  PostPoint(poster, event_type::kMouseMoved, Point{1919, 270}, 0, 0, Point{}, 1);
  events = input.Take();
  EXPECT_EQ(events[0], (Event{kPen, EV_ABS, ABS_X, 12796}));  // 3199 points at 4 units each
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

// Each character and named key of a key string types the key that makes it
// on a US keyboard, with Shift where it needs it.
TEST_F(Poster, EveryKeyOfTheKeyStringsIsItsKeyOnAUsKeyboard) {
  const std::pair<const char*, uint16_t> named[] = {
      {"∙␣", KEY_SPACE},     {"∙⎋", KEY_ESC},    {"∙⏎", KEY_ENTER},     {"∙⇥", KEY_TAB},     {"∙⌫", KEY_BACKSPACE},
      {"∙☒", KEY_CLEAR},     {"∙F1", KEY_F1},    {"∙F2", KEY_F2},       {"∙F3", KEY_F3},     {"∙F4", KEY_F4},
      {"∙F5", KEY_F5},       {"∙F6", KEY_F6},    {"∙F7", KEY_F7},       {"∙F8", KEY_F8},     {"∙F9", KEY_F9},
      {"∙F10", KEY_F10},     {"∙F12", KEY_F12},  {"∙F13", KEY_F13},     {"∙⎀", KEY_INSERT},  {"∙⌦", KEY_DELETE},
      {"∙⇱", KEY_HOME},      {"∙⇲", KEY_END},    {"∙⍇", KEY_PAGEUP},    {"∙⍈", KEY_PAGEDOWN}, {"∙↑", KEY_UP},
      {"∙←", KEY_LEFT},      {"∙→", KEY_RIGHT},  {"∙↓", KEY_DOWN},
  };
  for (const auto& [name, key] : named) {
    PostKey(poster, name, true);
    EXPECT_EQ(input.Take(), (std::vector<Event>{{kKbd, EV_KEY, key, 1}, {kKbd, EV_SYN, SYN_REPORT, 0}})) << name;
    PostKey(poster, name, false);
    input.Take();
  }

  const std::string unshifted = "abcdefghijklmnopqrstuvwxyz0123456789=-][';\\,/.`";
  const std::string shifted = "ABCDEFGHIJKLMNOPQRSTUVWXYZ)!@#$%^&*(+_}{\":|<?>~";
  const uint16_t keys[] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L,
                           KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X,
                           KEY_Y, KEY_Z, KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9,
                           KEY_EQUAL, KEY_MINUS, KEY_RIGHTBRACE, KEY_LEFTBRACE, KEY_APOSTROPHE, KEY_SEMICOLON,
                           KEY_BACKSLASH, KEY_COMMA, KEY_SLASH, KEY_DOT, KEY_GRAVE};
  ASSERT_EQ(unshifted.size(), std::size(keys));
  ASSERT_EQ(shifted.size(), std::size(keys));
  for (size_t i = 0; i < std::size(keys); ++i) {
    PostKey(poster, std::string(1, unshifted[i]), true);
    EXPECT_EQ(input.Take(), (std::vector<Event>{{kKbd, EV_KEY, keys[i], 1}, {kKbd, EV_SYN, SYN_REPORT, 0}}))
        << unshifted[i];
    PostKey(poster, std::string(1, unshifted[i]), false);
    input.Take();
    PostKey(poster, std::string(1, shifted[i]), true);
    EXPECT_EQ(input.Take(), (std::vector<Event>{{kKbd, EV_KEY, KEY_LEFTSHIFT, 1},
                                                {kKbd, EV_SYN, SYN_REPORT, 0},
                                                {kKbd, EV_KEY, keys[i], 1},
                                                {kKbd, EV_SYN, SYN_REPORT, 0}}))
        << shifted[i];
    PostKey(poster, std::string(1, shifted[i]), false);
    input.Take();
  }
}

}  // namespace
}  // namespace penmac::linux_layer
