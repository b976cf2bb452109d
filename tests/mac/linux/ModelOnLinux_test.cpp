// The model posting through the Linux poster: what a reader of penmac's
// devices (libinput) sees for whole sequences of tablet reports.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <memory>
#include <vector>

#include "../MacFakes.h"
#include "FakeVirtualInput.h"
#include "mac/linux/LinuxEventPoster.h"

namespace penmac::linux_layer {
namespace {

using test::TabletReport;
constexpr auto kPenDevice = VirtualDevice::Pen;
constexpr auto kKbdDevice = VirtualDevice::Keyboard;
constexpr auto kMouseDevice = VirtualDevice::Mouse;

struct LinuxRig {
  test::FakeHidManager hid;
  test::CountingWaker waker;
  NotificationCenter center{waker};
  test::FakeRunLoop loop;
  FakeInput input;
  LinuxEventPoster poster{input, PenAxes{Rect{{0, 0}, {1920, 1080}}}};
  ScreenLayout screens = test::OneScreen();
  test::MemoryFolder files;
  test::RecordingAlerts alerts;
  std::unique_ptr<USBDelegate> delegate =
      std::make_unique<USBDelegate>(USBDelegatePorts{hid, center, loop, poster, screens, files, alerts});

  LinuxRig() {
    delegate->onPlugin(Notification{
        HIDDeviceConnected, DeviceEntry{HIDDevice(test::FakeHidDevice::Tablet("[R711]Pen Tablet", 0x2201))}});
  }
  void Send(const TabletReport& r) { delegate->onData(test::DataNotification(r.Bytes())); }
};

TabletReport Pen(uint16_t x, uint16_t pressure, uint8_t side = 0) {
  TabletReport r;
  r.x = x;
  r.y = 1024;
  r.rawPressure = pressure;  // 1800 hovers; 1194 is half, 938 full pressure
  r.sideValue = side;
  return r;
}

TabletReport Keys(uint16_t down) {
  TabletReport r;
  r.keysDown = down;  // bit n is key n+1, 1 while held
  return r;
}

std::vector<int32_t> ValuesOf(const std::vector<Event>& events, VirtualDevice device, uint16_t type, uint16_t code) {
  std::vector<int32_t> values;
  for (const auto& [d, t, c, v] : events) {
    if (d == device && t == type && c == code) values.push_back(v);
  }
  return values;
}

// libinput decides the tip of a pen with a pressure axis by the pressure
// alone: a pressure while only a side button is held would be a stroke.
TEST(ModelOnLinux, ASideButtonDefinedAsRightHeldWhileHoveringIsARightClickWithoutTipOrPressure) {
  LinuxRig rig;
  rig.delegate->keyDefs[0x1000] = KeyDef{"", "R"};
  rig.Send(Pen(1024, 1800));
  rig.Send(Pen(1024, 1800));
  rig.input.Take();
  rig.Send(Pen(1024, 1800, 4));  // side button 1 down
  rig.Send(Pen(1100, 1800, 4));  // hovering with it held
  rig.Send(Pen(1200, 1800, 4));
  rig.Send(Pen(1200, 1800, 0));  // up
  const auto events = rig.input.Take();
  EXPECT_EQ(ValuesOf(events, kPenDevice, EV_KEY, BTN_STYLUS2), (std::vector<int32_t>{1, 0}));
  EXPECT_TRUE(ValuesOf(events, kPenDevice, EV_KEY, BTN_TOUCH).empty());
  for (int32_t p : ValuesOf(events, kPenDevice, EV_ABS, ABS_PRESSURE)) EXPECT_EQ(p, 0);
  EXPECT_EQ(ValuesOf(events, kPenDevice, EV_ABS, ABS_X), (std::vector<int32_t>{2063, 2250}));  // the pen moves on
  EXPECT_TRUE(ValuesOf(events, kMouseDevice, EV_KEY, BTN_RIGHT).empty());
}

TEST(ModelOnLinux, AButtonPressedInMidStrokeLeavesTheStrokesPressureAndTipAlone) {
  LinuxRig rig;
  rig.delegate->keyDefs[0x1000] = KeyDef{"", "R"};
  rig.Send(Pen(1024, 1800));
  rig.Send(Pen(1024, 1194));     // the tip down at half pressure
  rig.Send(Pen(1050, 1194, 4));  // side button pressed in mid-stroke
  rig.Send(Pen(1060, 1194, 4));
  rig.Send(Pen(1070, 1194, 0));
  rig.Send(Pen(1080, 1194, 0));
  rig.Send(Pen(1080, 1800, 0));  // lift
  const auto events = rig.input.Take();
  EXPECT_EQ(ValuesOf(events, kPenDevice, EV_KEY, BTN_TOUCH), (std::vector<int32_t>{1, 0}));
  EXPECT_EQ(ValuesOf(events, kPenDevice, EV_ABS, ABS_PRESSURE), (std::vector<int32_t>{1024, 1024, 1024, 0}));
  EXPECT_EQ(ValuesOf(events, kPenDevice, EV_KEY, BTN_STYLUS2), (std::vector<int32_t>{1, 0}));
}

TEST(ModelOnLinux, AHeldLeftDefinitionDragsTheHoveringPenWithTheMouseButtonAndNoPressure) {
  LinuxRig rig;
  rig.delegate->keyDefs[0x004] = KeyDef{"", "L"};
  rig.Send(Pen(1024, 1800));
  TabletReport held = Keys(0x004);  // key 3
  rig.Send(held);
  held.x = 1100;
  rig.Send(held);
  rig.Send(Keys(0x000));
  const auto events = rig.input.Take();
  EXPECT_EQ(ValuesOf(events, kMouseDevice, EV_KEY, BTN_LEFT), (std::vector<int32_t>{1, 0}));
  EXPECT_TRUE(ValuesOf(events, kPenDevice, EV_KEY, BTN_TOUCH).empty());
  for (int32_t p : ValuesOf(events, kPenDevice, EV_ABS, ABS_PRESSURE)) EXPECT_EQ(p, 0);
  EXPECT_EQ(ValuesOf(events, kPenDevice, EV_ABS, ABS_X), (std::vector<int32_t>{1920, 1920, 2063}));
}

// ---- nothing stays pressed ---------------------------------------------------

// Every key and button up (the pen may still be near: that holds nothing).
void ExpectNothingDown(const std::vector<Event>& events) {
  for (const auto& [key, value] : StateAfter(events)) {
    const auto& [device, type, code] = key;
    if (type == EV_KEY && code != BTN_TOOL_PEN) {
      EXPECT_EQ(value, 0) << "device " << static_cast<int>(device) << " key " << code;
    }
  }
}

TEST(ModelOnLinux, AKeyHeldWhenTheTabletIsUnpluggedGoesUp) {
  LinuxRig rig;
  rig.delegate->keyDefs[0x001] = KeyDef{"⌃", "L"};
  rig.Send(Keys(0x001));
  const auto pressed = StateAfter(rig.input.events);
  ASSERT_EQ((pressed.at({kKbdDevice, EV_KEY, KEY_LEFTCTRL})), 1);
  ASSERT_EQ((pressed.at({kMouseDevice, EV_KEY, BTN_LEFT})), 1);
  rig.delegate->onPlugout(Notification{HIDDeviceDisconnected, IdEntry{"/dev/hidraw0"}});
  ExpectNothingDown(rig.input.events);
}

TEST(ModelOnLinux, AChordThatTakesOverLetsGoOfTheKeyHeldBeforeIt) {
  LinuxRig rig;
  rig.delegate->keyDefs[0x001] = KeyDef{"", "L"};
  rig.delegate->keyDefs[0x003] = KeyDef{"∙F5", ""};
  rig.Send(Keys(0x001));  // key 1: the left button
  rig.Send(Keys(0x003));  // key 2 joins: the chord's F5
  const auto chord = StateAfter(rig.input.events);
  EXPECT_EQ((chord.at({kMouseDevice, EV_KEY, BTN_LEFT})), 0);
  EXPECT_EQ((chord.at({kKbdDevice, EV_KEY, KEY_F5})), 1);
  rig.Send(Keys(0x002));  // key 1 let go first, key 2 still held
  rig.Send(Keys(0x000));
  ExpectNothingDown(rig.input.events);
  EXPECT_EQ(ValuesOf(rig.input.events, kMouseDevice, EV_KEY, BTN_LEFT), (std::vector<int32_t>{1, 0}));
}

TEST(ModelOnLinux, WhatIsHeldWhenTheProgramEndsGoesUp) {
  LinuxRig rig;
  rig.delegate->keyDefs[0x001] = KeyDef{"⌘a", "R"};
  rig.Send(Pen(1024, 1800));
  rig.Send(Pen(1024, 938));  // the tip down
  TabletReport key = Keys(0x001);
  key.rawPressure = 938;
  rig.Send(key);
  rig.delegate.reset();
  ExpectNothingDown(rig.input.events);
  const auto after = StateAfter(rig.input.events);
  EXPECT_EQ((after.at({kPenDevice, EV_ABS, ABS_PRESSURE})), 0);
  EXPECT_EQ((after.at({kPenDevice, EV_KEY, BTN_TOOL_PEN})), 0);
}

}  // namespace
}  // namespace penmac::linux_layer
