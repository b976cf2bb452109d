// The report readers and the three mappings of the model.
#include <gtest/gtest.h>

#include "MacFakes.h"
#include "mac/EventPosting.h"

namespace penmac::test {
namespace {

class Readers : public ::testing::Test {
 protected:
  // Stores a report in the model without processing it.
  void Load(const TabletReport& r) {
    const auto bytes = r.Bytes();
    rig.delegate.bytes.Assign(bytes.data(), bytes.size());
  }
  // The same with some bytes, by their place in the report, as given.
  void LoadRaw(std::initializer_list<std::pair<size_t, uint8_t>> raw) {
    auto bytes = TabletReport{}.Bytes();
    for (const auto& [at, value] : raw) bytes.at(at) = value;
    rig.delegate.bytes.Assign(bytes.data(), bytes.size());
  }
  DelegateRig rig;
};

TEST_F(Readers, PositionIsBigEndianAfterTheReportId) {
  TabletReport r;
  r.x = 0x0123;
  r.y = 0x0FED;
  Load(r);
  EXPECT_EQ(rig.delegate.AbsPoint(), (Point{0x0123, 0x0FED}));
}

TEST_F(Readers, AllKeysReleasedGiveAnEmptyMask) {
  LoadRaw({{11, 0xFF}, {12, 0x33}});
  EXPECT_EQ(rig.delegate.ButtonBits(), 0);
  EXPECT_EQ(rig.delegate.Wheel(), 0);
}

TEST_F(Readers, KeysAreActiveLowAcrossBothBytes) {
  LoadRaw({{11, 0xFE}, {12, 0x13}});  // key 1; key 12 (bit 5 clear)
  EXPECT_EQ(rig.delegate.ButtonBits(), 0x0001 | 0x0800);
  LoadRaw({{11, 0xFF}, {12, 0x31}});  // key 10 (bit 1 clear)
  EXPECT_EQ(rig.delegate.ButtonBits(), 0x0200);
}

TEST_F(Readers, SideButtonValuesFourAndSixSetBitsTwelveAndThirteenAndNothingElseDoes) {
  LoadRaw({{9, 4}});
  EXPECT_EQ(rig.delegate.ButtonBits(), 0x1000);
  LoadRaw({{9, 6}});
  EXPECT_EQ(rig.delegate.ButtonBits(), 0x2000);
  LoadRaw({{9, 5}});
  EXPECT_EQ(rig.delegate.ButtonBits(), 0);
  LoadRaw({{9, 0x0C}});  // both bits of 4 and 6, but not one of the two values
  EXPECT_EQ(rig.delegate.ButtonBits(), 0);
}

TEST_F(Readers, WheelIsASignedFourBitStepSplitOverTheKeyByte) {
  const std::pair<uint8_t, int> cases[] = {{0x84, -7}, {0x0C, 3}, {0xC0, -4}, {0xB3, -8}, {0x37, 1}, {0x73, 4}};
  for (const auto& [byte, step] : cases) {
    LoadRaw({{12, byte}});
    EXPECT_EQ(rig.delegate.Wheel(), step) << std::hex << int{byte};
  }
}

TEST_F(Readers, OldFirmwareRestsAt1450AndMapsRaw1066ToFullPressure) {
  DelegateRig old(0x2200);
  TabletReport r;
  r.restPressure = 0;  // ignored by old firmware
  r.rawPressure = 1066;
  auto bytes = r.Bytes();
  old.delegate.bytes.Assign(bytes.data(), bytes.size());
  EXPECT_EQ(old.delegate.Threshold(), 1450.0);
  EXPECT_DOUBLE_EQ(old.delegate.PressureMap(), 1.0);
  r.rawPressure = 1258;  // (1450 - 1258) / 384
  bytes = r.Bytes();
  old.delegate.bytes.Assign(bytes.data(), bytes.size());
  EXPECT_DOUBLE_EQ(old.delegate.PressureMap(), 0.5);
}

TEST_F(Readers, NewFirmwareReadsTheRestPressureFromTheReportAndDividesBy512) {
  TabletReport r;
  r.restPressure = 1450;
  r.rawPressure = 938;
  Load(r);
  EXPECT_EQ(rig.delegate.Threshold(), 1450.0);
  EXPECT_DOUBLE_EQ(rig.delegate.PressureMap(), 1.0);
  r.rawPressure = 1194;
  Load(r);
  EXPECT_DOUBLE_EQ(rig.delegate.PressureMap(), 0.5);
  r.rawPressure = 500;  // harder than full: stays at 1
  Load(r);
  EXPECT_DOUBLE_EQ(rig.delegate.PressureMap(), 1.0);
  for (uint16_t raw : {uint16_t{1450}, uint16_t{1600}}) {
    r.rawPressure = raw;
    Load(r);
    EXPECT_EQ(rig.delegate.PressureMap(), 0.0);
  }
}

TEST_F(Readers, TiltBytesMapToPlusAndMinusOneAnd128StaysPositive) {
  LoadRaw({{13, 0x55}, {14, 0xAB}});
  EXPECT_EQ(rig.delegate.TiltMap(), (Point{1.0, -1.0}));
  LoadRaw({{13, 0x80}, {14, 0x00}});
  EXPECT_EQ(rig.delegate.TiltMap(), (Point{1.0, 0.0}));
}

TEST_F(Readers, OldFirmwareHasNoTilt) {
  DelegateRig old(0x2200);
  TabletReport r;
  r.tiltB = 85;  // tilt x
  r.tiltA = 85;  // tilt y
  const auto bytes = r.Bytes();
  old.delegate.bytes.Assign(bytes.data(), bytes.size());
  EXPECT_EQ(old.delegate.TiltMap(), (Point{0, 0}));
}

TEST_F(Readers, TiltTurnsWithTheTablet) {
  LoadRaw({{13, 0x55}});  // (1, 0)
  rig.delegate.screenConfig.Rotation = "90º";
  EXPECT_EQ(rig.delegate.TiltMap(), (Point{0, 1}));
  rig.delegate.screenConfig.Rotation = "270º";
  EXPECT_EQ(rig.delegate.TiltMap(), (Point{0, -1}));
  rig.delegate.screenConfig.Rotation = "90°";  // the degree sign is not a rotation
  EXPECT_EQ(rig.delegate.TiltMap(), (Point{1, 0}));
}

// The whole 1920 x 1080 screen: tablet (1024, 1024) is a quarter in from
// the top-left corner.
TEST_F(Readers, ScreenMapPlacesTheTabletOnTheRectangleWithYDownward) {
  TabletReport r;
  r.x = 1024;
  r.y = 1024;
  Load(r);
  EXPECT_EQ(rig.delegate.ScreenMap(), (Point{480, 270}));
  r.x = 2048;
  r.y = 3072;
  Load(r);
  EXPECT_EQ(rig.delegate.ScreenMap(), (Point{960, 810}));
}

TEST_F(Readers, ScreenMapTurnsTheTablet) {
  TabletReport r;
  r.x = 1024;
  r.y = 1024;
  Load(r);
  rig.delegate.screenConfig.Rotation = "180º";
  EXPECT_EQ(rig.delegate.ScreenMap(), (Point{1440, 810}));
  rig.delegate.screenConfig.Rotation = "90º";
  EXPECT_EQ(rig.delegate.ScreenMap(), (Point{1440, 270}));
  rig.delegate.screenConfig.Rotation = "270º";
  EXPECT_EQ(rig.delegate.ScreenMap(), (Point{480, 810}));
}

TEST_F(Readers, ScreenMapUsesOnlyTheConfiguredRectangle) {
  // The right half of a 3840-point desktop, given bottom-left-origin.
  rig.delegate.screenConfig.Rect = Rect{{1920, 0}, {1920, 1080}};
  TabletReport r;
  r.x = 0;
  r.y = 0;
  Load(r);
  EXPECT_EQ(rig.delegate.ScreenMap(), (Point{1920, 0}));
}

TEST_F(Readers, TheLastPositionOfTheSquareMapsAndTheNextDoesNot) {
  TabletReport r;
  r.x = 4095;
  r.y = 4095;
  Load(r);
  EXPECT_NE(rig.delegate.ScreenMap(), (Point{0, 0}));
  r.x = 4096;
  Load(r);
  EXPECT_EQ(rig.delegate.ScreenMap(), (Point{0, 0}));
  r.x = 100;
  r.y = 4096;
  Load(r);
  EXPECT_EQ(rig.delegate.ScreenMap(), (Point{0, 0}));
}

TEST_F(Readers, APointInsideTheJitterSquareDoesNotMoveAndOneOutsideClearsIt) {
  rig.delegate.gitterRect = Rect{{477, 267}, {6, 6}};  // around (480, 270)
  TabletReport r;
  r.x = 1024;
  r.y = 1024;
  Load(r);
  EXPECT_EQ(rig.delegate.ScreenMap(), (Point{0, 0}));
  EXPECT_EQ(rig.delegate.gitterRect, (Rect{{477, 267}, {6, 6}}));
  r.x = 1040;  // 7.5 points to the right
  Load(r);
  EXPECT_EQ(rig.delegate.ScreenMap(), (Point{487.5, 270}));
  EXPECT_EQ(rig.delegate.gitterRect, Rect{});
}

TEST_F(Readers, AScreenFileFarOutsideTheDesktopMapsWithoutOverflow) {
  rig.delegate.screenConfig.Rect = Rect{{-1e300, 1e300}, {1e308, 1e308}};
  TabletReport r;
  r.x = 4095;
  r.y = 0;
  Load(r);
  const Point p = rig.delegate.ScreenMap();
  rig.poster.Clear();
  PostPoint(rig.poster, event_type::kMouseMoved, p, 0, 0, {}, 1);
  EXPECT_EQ(rig.poster.Last().Integer(event_field::kTabletPointX), 9200000000000000000LL);
}

}  // namespace
}  // namespace penmac::test
