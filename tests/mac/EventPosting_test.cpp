// The records the six posting functions build.
#include "mac/EventPosting.h"

#include <gtest/gtest.h>

#include "mac/RecordingPoster.h"

namespace penmac {
namespace {

namespace t = event_type;
namespace f = event_field;

class Posting : public ::testing::Test {
 protected:
  std::vector<EventRecord> Records() const {
    std::vector<EventRecord> out;
    for (size_t i = 0; i < poster.Held(); ++i) out.push_back(poster.At(i));
    return out;
  }
  RecordingPoster poster;
};

TEST_F(Posting, APointerEventCarriesTheTabletFields) {
  PostPoint(poster, t::kLeftMouseDragged, Point{100.75, 200.5}, 0, 0.25, Point{0.5, -0.5}, 7);
  const EventRecord& r = poster.Last();
  EXPECT_EQ(r.origin, EventRecord::Origin::Plain);
  EXPECT_EQ(r.type, 6);
  EXPECT_EQ(r.location, (Point{100.75, 200.5}));
  EXPECT_EQ(r.Integer(f::kClickState), 1);  // not a down or up: always 1
  EXPECT_EQ(r.Integer(3), 0);
  EXPECT_EQ(r.Integer(7), 1);
  EXPECT_EQ(r.Integer(24), 129);
  EXPECT_EQ(r.Integer(15), 100);
  EXPECT_EQ(r.Integer(16), 200);
  EXPECT_EQ(r.Integer(17), 0);
  EXPECT_EQ(r.Integer(18), 0);
  EXPECT_EQ(r.Double(19), 0.25);
  EXPECT_EQ(r.Double(20), 0.5);
  EXPECT_EQ(r.Double(21), -0.5);
  EXPECT_EQ(r.Double(22), 0.0);
  EXPECT_EQ(r.Double(23), 0.0);
  EXPECT_EQ(r.Integer(25), 0);
  EXPECT_EQ(r.Integer(26), 0);
  EXPECT_EQ(r.Integer(27), 0);
  EXPECT_FALSE(r.flags);
  // Exactly these fields and no others.
  EXPECT_EQ(r.IntegerFieldsSet(), (1ull << 1) | (1ull << 3) | (1ull << 7) | (1ull << 15) | (1ull << 16) |
                                      (1ull << 17) | (1ull << 18) | (1ull << 24) | (1ull << 25) | (1ull << 26) |
                                      (1ull << 27));
  EXPECT_EQ(r.DoubleFieldsSet(), 0x1Full << 19);
}

TEST_F(Posting, TheClickCountGoesOnlyOnLeftDownAndUp) {
  PostPoint(poster, t::kMouseMoved, Point{1, 1}, 0, 0, {}, 3);
  EXPECT_EQ(poster.Last().Integer(f::kClickState), 1);
  PostPoint(poster, t::kLeftMouseDown, Point{1, 1}, 0, 1, {}, 2);
  EXPECT_EQ(poster.Last().Integer(f::kClickState), 2);
  PostPoint(poster, t::kLeftMouseUp, Point{1, 1}, 0, 0, {}, 3);
  EXPECT_EQ(poster.Last().Integer(f::kClickState), 3);
  PostPoint(poster, t::kRightMouseDown, Point{1, 1}, 1, 1, {}, 2);
  EXPECT_EQ(poster.Last().Integer(f::kClickState), 1);
}

TEST_F(Posting, AtTheOriginThePointerStaysButPressureAndTiltGoOut) {
  PostPoint(poster, t::kLeftMouseDragged, Point{0, 0}, 0, 0.75, Point{0.25, 0.5}, 1);
  const EventRecord& r = poster.Last();
  EXPECT_FALSE(r.location.has_value());
  EXPECT_EQ(r.Double(f::kTabletPressure), 0.75);
  EXPECT_EQ(r.Double(f::kTabletTiltX), 0.25);
  EXPECT_EQ(r.Double(f::kTabletTiltY), 0.5);
}

TEST_F(Posting, AProximityChangeIsAProximityEventThenAMoveOfSubtypeTwo) {
  PostProximity(poster, Point{480, 270}, true);
  const auto records = Records();
  ASSERT_EQ(records.size(), 2u);
  const EventRecord& p = records[0];
  EXPECT_EQ(p.type, 24);
  EXPECT_EQ(p.location, (Point{480, 270}));
  EXPECT_EQ(p.Integer(31), 129);
  EXPECT_EQ(p.Integer(28), 2290);
  EXPECT_EQ(p.Integer(29), 1);
  EXPECT_EQ(p.Integer(30), 3);
  EXPECT_EQ(p.Integer(32), 0);
  EXPECT_EQ(p.Integer(33), 2066);
  EXPECT_EQ(p.Integer(34), 1);
  EXPECT_EQ(p.Integer(35), 0);
  EXPECT_EQ(p.Integer(36), 3527);
  EXPECT_EQ(p.Integer(37), 1);
  EXPECT_EQ(p.Integer(38), 1);
  const EventRecord& m = records[1];
  EXPECT_EQ(m.type, 5);
  EXPECT_EQ(m.location, (Point{480, 270}));
  EXPECT_EQ(m.Integer(1), 1);
  EXPECT_EQ(m.Integer(3), 0);
  EXPECT_EQ(m.Integer(7), 2);
  EXPECT_EQ(m.Integer(24), 129);
  EXPECT_EQ(m.Integer(15), 480);
  EXPECT_EQ(m.Integer(16), 270);
  EXPECT_EQ(m.Integer(17), 0);
  EXPECT_EQ(m.Integer(18), 0);
  for (int field = 19; field <= 23; ++field) EXPECT_EQ(m.Double(field), 0.0) << field;
  for (int field = 25; field <= 27; ++field) EXPECT_EQ(m.Integer(field), 0) << field;
  // The same event turned: its proximity fields are still there.
  EXPECT_EQ(m.Integer(38), 1);
}

TEST_F(Posting, LeavingProximityClearsTheEnterField) {
  PostProximity(poster, Point{0, 0}, false);
  EXPECT_EQ(poster.At(0).Integer(38), 0);
  EXPECT_FALSE(poster.At(0).location.has_value());
}

TEST_F(Posting, LeftAndRightGoDownInThatOrder) {
  PostMouse(poster, "LR", Point{0, 0}, 1.0, Point{}, true);
  const auto records = Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].type, 1);
  EXPECT_EQ(records[0].Integer(f::kButtonNumber), 0);
  EXPECT_EQ(records[1].type, 3);
  EXPECT_EQ(records[1].Integer(f::kButtonNumber), 1);
  EXPECT_EQ(records[1].Integer(f::kTabletButtons), 1);
}

TEST_F(Posting, TheMiddleButtonIsOtherButtonTwoAndComesBetween) {
  PostMouse(poster, "RML", Point{0, 0}, 0.0, Point{}, false);
  const auto records = Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].type, 2);
  EXPECT_EQ(records[1].type, 26);
  EXPECT_EQ(records[1].Integer(f::kButtonNumber), 2);
  EXPECT_EQ(records[2].type, 4);
}

TEST_F(Posting, TheMouseStringScrollsOnlyWhenPressed) {
  PostMouse(poster, "+-", Point{}, 1.0, Point{}, true);
  ASSERT_EQ(poster.Total(), 2u);
  EXPECT_GT(*poster.At(0).Integer(f::kScrollDeltaAxis1), 0);
  EXPECT_LT(*poster.At(1).Integer(f::kScrollDeltaAxis1), 0);
  poster.Clear();
  PostMouse(poster, "+-", Point{}, 0.0, Point{}, false);
  EXPECT_EQ(poster.Total(), 0u);
}

TEST_F(Posting, AScrollStepIsAxisOneWithoutALocation) {
  PostWheel(poster, -3);
  const EventRecord& r = poster.Last();
  EXPECT_EQ(r.type, 22);
  EXPECT_EQ(r.Integer(11), -3);
  EXPECT_FALSE(r.location.has_value());
}

TEST_F(Posting, SoftKeysAreMediaKeyPressAndReleasePairs) {
  const int codes[] = {7, 1, 0, 20, 16, 18, 17, 2, 3, 25};
  for (int index = 1; index <= 10; ++index) {
    poster.Clear();
    PostFKey(poster, index);
    ASSERT_EQ(poster.Total(), 2u) << index;
    const EventRecord& down = poster.At(0);
    const EventRecord& up = poster.At(1);
    EXPECT_EQ(down.origin, EventRecord::Origin::SystemDefined);
    EXPECT_EQ(down.type, 14);
    EXPECT_EQ(down.subtype, 8);
    EXPECT_EQ(down.flags, 0xA00u);
    EXPECT_EQ(down.data1, (codes[index - 1] << 16) | 0xA00);
    EXPECT_EQ(down.data2, -1);
    EXPECT_FALSE(down.location.has_value());
    EXPECT_EQ(up.flags, 0xB00u);
    EXPECT_EQ(up.data1, (codes[index - 1] << 16) | 0xB00);
  }
}

TEST_F(Posting, SoftKeysOutsideOneToTenDoNothing) {
  PostFKey(poster, 0);
  PostFKey(poster, 11);
  PostFKey(poster, -1);
  EXPECT_EQ(poster.Total(), 0u);
}

TEST_F(Posting, ModifiersGoFirstThenTheNamedKeyWithTheirFlags) {
  PostKey(poster, "⌘⇧∙F10", true);
  auto records = Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].type, 12);
  EXPECT_EQ(records[0].flags, 0x100000u);
  EXPECT_EQ(records[0].Integer(9), 55);
  EXPECT_EQ(records[1].type, 12);
  EXPECT_EQ(records[1].flags, 0x20000u);
  EXPECT_EQ(records[1].Integer(9), 56);
  EXPECT_EQ(records[2].origin, EventRecord::Origin::Keyboard);
  EXPECT_EQ(records[2].type, 10);
  EXPECT_EQ(records[2].keyCode, 109);
  EXPECT_TRUE(records[2].keyDown);
  EXPECT_EQ(records[2].flags, 0x120000u);

  poster.Clear();
  PostKey(poster, "⌘⇧∙F10", false);
  records = Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].flags, 0u);
  EXPECT_EQ(records[0].Integer(9), 55);
  EXPECT_FALSE(records[0].keyDown);
  EXPECT_EQ(records[1].flags, 0u);
  EXPECT_EQ(records[2].type, 11);
  EXPECT_EQ(records[2].keyCode, 109);
  EXPECT_EQ(records[2].flags, 0x120000u);
}

TEST_F(Posting, ModifiersAreTakenInCommandOptionShiftControlOrderWhereverTheyStand) {
  PostKey(poster, "⌃a⌥⌃", true);
  const auto records = Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].Integer(9), 58);
  EXPECT_EQ(records[1].Integer(9), 59);
  EXPECT_EQ(records[2].keyCode, 0);
  EXPECT_EQ(records[2].flags, 0xC0000u);
}

TEST_F(Posting, AShiftedCharacterCarriesShift) {
  PostKey(poster, "!", true);
  ASSERT_EQ(poster.Total(), 1u);
  EXPECT_EQ(poster.Last().keyCode, 18);
  EXPECT_EQ(poster.Last().flags, 0x20000u);
}

TEST_F(Posting, ShiftForOneCharacterDoesNotSpillIntoTheNext) {
  PostKey(poster, "Ab", true);
  ASSERT_EQ(poster.Total(), 2u);
  EXPECT_EQ(poster.At(0).flags, 0x20000u);
  EXPECT_EQ(poster.At(1).keyCode, 11);
  EXPECT_EQ(poster.At(1).flags, 0u);
}

TEST_F(Posting, TheLongerOfTwoNamesThatBeginAlikeIsTaken) {
  PostKey(poster, "∙F13", true);
  ASSERT_EQ(poster.Total(), 1u);
  EXPECT_EQ(poster.Last().keyCode, 105);
  poster.Clear();
  PostKey(poster, "∙F1∙F10", true);
  ASSERT_EQ(poster.Total(), 2u);
  EXPECT_EQ(poster.At(0).keyCode, 122);
  EXPECT_EQ(poster.At(1).keyCode, 109);
}

TEST_F(Posting, EveryNamedKeyHasItsCode) {
  const std::pair<const char*, uint16_t> keys[] = {
      {"∙␣", 49},  {"∙⎋", 53},  {"∙⏎", 36},  {"∙⇥", 48},  {"∙⌫", 51},  {"∙☒", 71},   {"∙F1", 122},
      {"∙F2", 120}, {"∙F3", 99},  {"∙F4", 118}, {"∙F5", 96},  {"∙F6", 97},  {"∙F7", 98},  {"∙F8", 100},
      {"∙F9", 101}, {"∙F10", 109}, {"∙F12", 111}, {"∙F13", 105}, {"∙⎀", 114}, {"∙⌦", 117}, {"∙⇱", 115},
      {"∙⇲", 119}, {"∙⍇", 116}, {"∙⍈", 121}, {"∙↑", 126}, {"∙←", 123}, {"∙→", 124}, {"∙↓", 125},
  };
  for (const auto& [name, code] : keys) {
    poster.Clear();
    PostKey(poster, name, true);
    ASSERT_EQ(poster.Total(), 1u) << name;
    EXPECT_EQ(poster.Last().keyCode, code) << name;
  }
}

TEST_F(Posting, CharactersUseTheUsAnsiKeys) {
  const std::pair<char, uint16_t> unshifted[] = {{'a', 0}, {'s', 1}, {'1', 18}, {'=', 24}, {'`', 50},
                                                 {'/', 44}, {'\\', 42}, {'\'', 39}};
  for (const auto& [c, code] : unshifted) {
    poster.Clear();
    PostKey(poster, std::string(1, c), true);
    EXPECT_EQ(poster.Last().keyCode, code) << c;
    EXPECT_EQ(poster.Last().flags, 0u) << c;
  }
  const std::pair<char, uint16_t> shifted[] = {{'A', 0}, {'!', 18}, {'+', 24}, {'~', 50}, {'"', 39}, {'?', 44}};
  for (const auto& [c, code] : shifted) {
    poster.Clear();
    PostKey(poster, std::string(1, c), false);
    EXPECT_EQ(poster.Last().keyCode, code) << c;
    EXPECT_EQ(poster.Last().flags, 0x20000u) << c;
  }
}

TEST_F(Posting, CharactersInNeitherTableAreSkipped) {
  PostKey(poster, "é €∙", true);
  EXPECT_EQ(poster.Total(), 0u);
}

TEST_F(Posting, ANamedKeyWrittenTwiceIsPressedOnce) {
  PostKey(poster, "∙F5∙F5", true);
  EXPECT_EQ(poster.Total(), 1u);
}

}  // namespace
}  // namespace penmac
