#include "pipeline/ReportEncoder.h"

#include <gtest/gtest.h>

#include <array>

namespace pen {
namespace {

using Bytes15 = std::array<uint8_t, 15>;
using Bytes10 = std::array<uint8_t, 10>;

TEST(ReportEncoder, DigitizerReportPutsEveryFieldWhereTheTabletDoes) {
  DigitizerSample s;
  s.x = 0x0FFF;
  s.y = 0x0123;
  s.rawPressure = 1250;                 // 04 E2
  s.keysDown = 0x001 | 0x200 | 0x800;  // keys 1, 10, 12
  s.sideValue = 4;
  s.wheelStep = -7;
  s.tiltA = -3;
  s.tiltB = 9;
  // Keys 1..8 active low in byte 11; byte 12: key 9 up (bit 0), key 10 down
  // (bit 1), step -7 = 1001b as 01 in bits 2..3 and 10 in bits 6..7, key 11
  // up (bit 4), key 12 down (bit 5). The rest pressure 1450 is 05 AA.
  EXPECT_EQ(EncodeDigitizerReport(s),
            (Bytes15{0x07, 0x0F, 0xFF, 0x01, 0x23, 0x04, 0xE2, 0x05, 0xAA, 0x04, 0x00, 0xFE, 0x95, 0x09, 0xFD}));
}

TEST(ReportEncoder, PenOutOfRangeSendsZeroBytesSevenAndEightAndIdleKeys) {
  DigitizerSample s;
  s.inRange = false;
  s.restPressure = 0x1234;
  EXPECT_EQ(EncodeDigitizerReport(s),
            (Bytes15{0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x33, 0x00, 0x00}));
  s.inRange = true;
  EXPECT_EQ(EncodeDigitizerReport(s)[7], 0x12);
  EXPECT_EQ(EncodeDigitizerReport(s)[8], 0x34);
}

TEST(ReportEncoder, WheelStepsLandInBitsTwoThreeSixAndSeven) {
  // With keys 9..12 held, so that only the wheel bits are set.
  DigitizerSample s;
  s.keysDown = 0xF00;
  const std::pair<int8_t, uint8_t> cases[] = {{-7, 0x84}, {3, 0x0C}, {-4, 0xC0}, {-8, 0x80}, {7, 0x4C}, {0, 0x00}};
  for (const auto& [step, byte] : cases) {
    s.wheelStep = step;
    EXPECT_EQ(EncodeDigitizerReport(s)[12], byte) << int{step};
  }
}

TEST(ReportEncoder, VendorPacketsAreLittleEndianAfterTheirId) {
  EXPECT_EQ(EncodeVendorKeyPacket(0x3001, 0xFF), (Bytes10{0x08, 0x80, 0xFF, 0xFF, 0x01, 0x30, 0, 0, 0, 0}));
  EXPECT_EQ(EncodeVendorPenPacket(0xC1, 0x1234, 0x0567, 0x07FF, 0xF0, 0x10),
            (Bytes10{0x08, 0xC1, 0x34, 0x12, 0x67, 0x05, 0xFF, 0x07, 0xF0, 0x10}));
  EXPECT_EQ(WithoutReportId(EncodeVendorKeyPacket(0x0002, 0)),
            (std::array<uint8_t, 9>{0x80, 0xFF, 0x00, 0x02, 0x00, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace pen
