// Nothing that a tablet button's definition pressed stays down: not when a
// chord takes over, not when the tablet goes away, not when the model ends.
#include <gtest/gtest.h>

#include <memory>

#include "MacFakes.h"

namespace penmac::test {
namespace {

namespace t = event_type;
namespace f = event_field;

TabletReport Keys(uint16_t down) {
  TabletReport r;
  r.x = 1024;
  r.y = 1024;
  r.keysDown = down;  // bit n is key n+1, 1 while held
  return r;
}

// The records of the definitions: keys and the buttons they press, as
// "type/key code" or "type" (the pen's own records left out).
std::vector<std::string> ButtonRecords(const std::vector<EventRecord>& records) {
  std::vector<std::string> out;
  for (const auto& r : records) {
    if (r.origin == EventRecord::Origin::Keyboard) {
      std::string s = std::to_string(r.type);
      s.append("/").append(std::to_string(r.IntegerOr(f::kKeycode, -1)));
      if (r.type == t::kFlagsChanged) s.append("/").append(std::to_string(r.flags.value_or(0)));
      out.push_back(s);
    } else if (r.tabletButton) {
      out.push_back(std::to_string(r.type));
    }
  }
  return out;
}

TEST(Release, AChordThatTakesOverLetsGoOfTheDefinitionHeldBeforeIt) {
  DelegateRig rig;
  rig.delegate.keyDefs[0x001] = KeyDef{"", "L"};
  rig.delegate.keyDefs[0x003] = KeyDef{"∙F5", ""};
  rig.Send(Keys(0x001));  // key 1
  EXPECT_EQ(ButtonRecords(rig.Take()), (std::vector<std::string>{"1"}));  // left down
  rig.Send(Keys(0x003));  // key 2 joins
  EXPECT_EQ(ButtonRecords(rig.Take()), (std::vector<std::string>{"2", "10/96"}));  // left up, then F5 down
  EXPECT_FALSE(rig.delegate.isLeft);
  rig.Send(Keys(0x002));  // key 1 let go, key 2 held
  EXPECT_EQ(ButtonRecords(rig.Take()), (std::vector<std::string>{"11/96"}));
  rig.Send(Keys(0x000));
  EXPECT_TRUE(ButtonRecords(rig.Take()).empty());  // the left button is not released twice
}

TEST(Release, TheHeldDefinitionGoesUpWhenItsButtonsDoEvenIfNoDefinitionSpeaksForTheChange) {
  DelegateRig rig;
  rig.delegate.keyDefs[0x001] = KeyDef{"", "L"};
  rig.delegate.keyDefs[0x003] = KeyDef{"x", ""};
  rig.Send(Keys(0x001));  // key 1
  rig.Send(Keys(0x002));  // in one report key 1 up and key 2 down: the union 0x003 is pressed
  rig.Take();
  rig.Send(Keys(0x000));  // 0x002 | 0 has no definition
  EXPECT_EQ(ButtonRecords(rig.Take()), (std::vector<std::string>{"11/7"}));  // "x" up
}

TEST(Release, UnpluggingTheTabletReleasesTheHeldDefinition) {
  DelegateRig rig;
  rig.delegate.keyDefs[0x001] = KeyDef{"⌃", "R"};
  rig.Send(Keys(0x001));
  EXPECT_EQ(ButtonRecords(rig.Take()), (std::vector<std::string>{"12/59/262144", "3"}));
  rig.delegate.onPlugout(Notification{HIDDeviceDisconnected, IdEntry{"/dev/hidraw0"}});
  EXPECT_EQ(ButtonRecords(rig.Take()), (std::vector<std::string>{"12/59/0", "4"}));  // Control up, right up
  EXPECT_FALSE(rig.delegate.isRight);
  EXPECT_EQ(rig.delegate.deviceName, kTabletDisconnected);
  // Plugged in again, the key's release finds nothing left to release.
  rig.Plug("[R711]Pen Tablet", 0x2201);
  rig.Send(Keys(0x000));
  EXPECT_TRUE(ButtonRecords(rig.Take()).empty());
}

TEST(Release, TheModelEndingReleasesTheHeldDefinitionThenTheTipThenTheProximity) {
  DelegateFakes fakes;
  RecordingPoster& poster = fakes.poster;
  auto delegate = std::make_unique<USBDelegate>(fakes.Ports());
  delegate->version = 0x2201;
  delegate->keyDefs[0x001] = KeyDef{"a", ""};
  TabletReport r = Keys(0x000);
  delegate->onData(DataNotification(r.Bytes()));  // near
  r.rawPressure = 938;
  delegate->onData(DataNotification(r.Bytes()));  // the tip down
  r.keysDown = 0x001;
  delegate->onData(DataNotification(r.Bytes()));  // key 1 down
  poster.Clear();
  delegate.reset();
  ASSERT_EQ(poster.Held(), 4u);
  EXPECT_EQ(poster.At(0).type, t::kKeyUp);
  EXPECT_EQ(poster.At(1).type, t::kLeftMouseUp);
  EXPECT_EQ(poster.At(2).type, t::kTabletProximity);
  EXPECT_EQ(poster.At(2).Integer(f::kProximityEnter), 0);
  EXPECT_EQ(poster.At(3).type, t::kMouseMoved);
}

}  // namespace
}  // namespace penmac::test
