#include "pipeline/ReportFormat.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "pipeline/ReportEncoder.h"

namespace pen {
namespace {

// A digitizer report's data bytes with every key released and no wheel.
std::array<uint8_t, kDigitizerReportSize> Digitizer(uint16_t x, uint16_t y, uint16_t pressure) {
  DigitizerSample s;
  s.x = x;
  s.y = y;
  s.rawPressure = pressure;
  return WithoutReportId(EncodeDigitizerReport(s));
}

TEST(DigitizerReport, PositionAndPressureAreBigEndian) {
  const auto d = Digitizer(0x0ABC, 0x0123, 0x05AA);
  DigitizerReport r;
  ASSERT_TRUE(DecodeDigitizerReport(d.data(), d.size(), r));
  EXPECT_EQ(r.x, 0x0ABC);
  EXPECT_EQ(r.y, 0x0123);
  EXPECT_EQ(r.rawPressure, 0x05AA);
  EXPECT_FALSE(r.OverStrip());
  EXPECT_FALSE(r.noPosition);
}

TEST(DigitizerReport, AllKeysReleasedAndNoWheelGiveNothing) {
  EXPECT_EQ(DigitizerKeyBits(0xFF, 0x33), 0u);
  EXPECT_EQ(DigitizerWheelStep(0x33), 0);
}

TEST(DigitizerReport, KeysAreActiveLowAcrossBothBytes) {
  EXPECT_EQ(DigitizerKeyBits(0xFE, 0x33), 0x001u);  // key 1
  EXPECT_EQ(DigitizerKeyBits(0x7F, 0x33), 0x080u);  // key 8
  EXPECT_EQ(DigitizerKeyBits(0xFF, 0x32), 0x100u);  // key 9
  EXPECT_EQ(DigitizerKeyBits(0xFF, 0x31), 0x200u);  // key 10
  EXPECT_EQ(DigitizerKeyBits(0xFF, 0x23), 0x400u);  // key 11
  EXPECT_EQ(DigitizerKeyBits(0xFF, 0x13), 0x800u);  // key 12
  EXPECT_EQ(DigitizerKeyBits(0x00, 0x00), 0xFFFu);
  // The wheel bits between the key bits never read as keys.
  EXPECT_EQ(DigitizerKeyBits(0xFF, 0xFF), 0u);
}

TEST(DigitizerReport, WheelStepIsFourBitTwosComplementSplitOverTheByte) {
  EXPECT_EQ(DigitizerWheelStep(0x84), -7);
  EXPECT_EQ(DigitizerWheelStep(0x0C), 3);
  EXPECT_EQ(DigitizerWheelStep(0xC0), -4);
  EXPECT_EQ(DigitizerWheelStep(0x04), 1);
  EXPECT_EQ(DigitizerWheelStep(0x40), 4);
  EXPECT_EQ(DigitizerWheelStep(0x4C), 7);
  EXPECT_EQ(DigitizerWheelStep(0x80), -8);
  EXPECT_EQ(DigitizerWheelStep(0xCC), -1);
}

TEST(DigitizerReport, SideButtonsAreValuesNotBits) {
  EXPECT_EQ(SideButtonMask(4), mask_bits::kSide1);
  EXPECT_EQ(SideButtonMask(6), mask_bits::kSide2);
  EXPECT_EQ(SideButtonMask(5), 0u);
  EXPECT_EQ(SideButtonMask(2), 0u);
  EXPECT_EQ(SideButtonMask(0), 0u);
}

TEST(DigitizerReport, KeyMaskPutsKeysAtBitsThreeToFourteen) {
  auto d = Digitizer(0, 0, 0);
  d[8] = 6;
  d[10] = 0xFE;  // key 1
  d[11] = 0x13;  // key 12
  DigitizerReport r;
  ASSERT_TRUE(DecodeDigitizerReport(d.data(), d.size(), r));
  EXPECT_EQ(r.KeyMask(), (1u << 3) | (1u << 14) | mask_bits::kSide2);
}

TEST(DigitizerReport, TiltBytesAreSignedAndSwapped) {
  auto d = Digitizer(0, 0, 0);
  d[12] = 0xF6;
  d[13] = 0x14;
  DigitizerReport r;
  ASSERT_TRUE(DecodeDigitizerReport(d.data(), d.size(), r));
  EXPECT_EQ(r.tiltA, 20);
  EXPECT_EQ(r.tiltB, -10);
}

TEST(DigitizerReport, ZeroBytesSixAndSevenMeanNoPosition) {
  auto d = Digitizer(100, 100, 100);
  d[6] = 0;
  d[7] = 0;
  DigitizerReport r;
  ASSERT_TRUE(DecodeDigitizerReport(d.data(), d.size(), r));
  EXPECT_TRUE(r.noPosition);
  d[7] = 1;
  ASSERT_TRUE(DecodeDigitizerReport(d.data(), d.size(), r));
  EXPECT_FALSE(r.noPosition);
}

TEST(DigitizerReport, YFromHexEightThousandIsOverTheStrip) {
  DigitizerReport r;
  r.y = 0x7FFF;
  EXPECT_FALSE(r.OverStrip());
  r.y = 0x8000;
  EXPECT_TRUE(r.OverStrip());
  r.y = 0xFFF0;
  EXPECT_TRUE(r.OverStrip());
}

TEST(DigitizerReport, ShortReportIsRejectedWithoutReadingPastItsEnd) {
  const auto full = Digitizer(1, 2, 3);
  for (size_t len = 0; len < kDigitizerReportSize; ++len) {
    // An exact-size heap copy lets the sanitizer catch any read past the end.
    std::vector<uint8_t> bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(len));
    DigitizerReport r;
    r.x = 77;
    EXPECT_FALSE(DecodeDigitizerReport(bytes.data(), bytes.size(), r)) << len;
    EXPECT_EQ(r.x, 77) << "a rejected report leaves the result alone";
  }
  DigitizerReport r;
  EXPECT_FALSE(DecodeDigitizerReport(nullptr, 14, r));
}

TEST(SoftKeys, IndexIsXPlus160Div430) {
  EXPECT_EQ(SoftKeyIndex(0), 0);
  EXPECT_EQ(SoftKeyIndex(269), 0);
  EXPECT_EQ(SoftKeyIndex(270), 1);
  EXPECT_EQ(SoftKeyIndex(2000), 5);
  EXPECT_EQ(SoftKeyBit(2000), 1u << 20);
  EXPECT_EQ(SoftKeyIndex(4095), 9);
}

TEST(SoftKeys, OvershootPastEitherEndStaysOnTheOuterKeys) {
  EXPECT_EQ(SoftKeyIndex(4140), 9);
  EXPECT_EQ(SoftKeyIndex(4400), 9);
  EXPECT_EQ(SoftKeyIndex(65535), 9);
  EXPECT_EQ(SoftKeyIndex(-1), 0);
  EXPECT_EQ(SoftKeyIndex(-600), 0);
  EXPECT_EQ(SoftKeyIndex(INT32_MIN), 0);
  EXPECT_EQ(SoftKeyIndex(INT32_MAX), 9);
  EXPECT_EQ(SoftKeyBit(100000) & ~mask_bits::kSoftKeys, 0u);
}

TEST(VendorPacket, ClassifiesPenKeyAndIgnoredPackets) {
  const uint8_t pen[9] = {0xC1, 0, 0, 0, 0, 0, 0, 0, 0};
  const uint8_t keys[5] = {0x80, 0xFF, 0, 0, 0};
  const uint8_t other[5] = {0x80, 0x00, 3, 1, 0};
  EXPECT_EQ(ClassifyVendorPacket(pen, 9), VendorPacketKind::Pen);
  EXPECT_EQ(ClassifyVendorPacket(keys, 5), VendorPacketKind::KeyWheel);
  EXPECT_EQ(ClassifyVendorPacket(other, 5), VendorPacketKind::Ignored);
  VendorKeyPacket k;
  EXPECT_FALSE(DecodeVendorKeyPacket(other, 5, k));
}

TEST(VendorPacket, TooShortForItsKindIsInvalid) {
  const uint8_t pen[9] = {0xC0, 1, 2, 3, 4, 5, 6, 7, 8};
  const uint8_t keys[5] = {0x80, 0xFF, 1, 2, 3};
  for (size_t len = 0; len < 9; ++len) {
    std::vector<uint8_t> b(pen, pen + len);
    EXPECT_EQ(ClassifyVendorPacket(b.data(), b.size()), VendorPacketKind::Invalid) << len;
    PenPacket p;
    EXPECT_FALSE(ReadVendorPenPacket(b.data(), b.size(), p));
  }
  for (size_t len = 0; len < 5; ++len) {
    std::vector<uint8_t> b(keys, keys + len);
    EXPECT_EQ(ClassifyVendorPacket(b.data(), b.size()), VendorPacketKind::Invalid) << len;
    VendorKeyPacket k;
    EXPECT_FALSE(DecodeVendorKeyPacket(b.data(), b.size(), k));
  }
  // A two-byte packet that is not a key packet needs nothing more.
  const uint8_t shortOther[2] = {0x80, 0x01};
  EXPECT_EQ(ClassifyVendorPacket(shortOther, 2), VendorPacketKind::Ignored);
}

TEST(VendorPacket, PenPacketIsCopiedUnchanged) {
  const uint8_t pen[10] = {0xC3, 0x34, 0x12, 0x78, 0x06, 0xFF, 0x07, 0xF0, 0x10, 0xAA};
  PenPacket p;
  ASSERT_TRUE(ReadVendorPenPacket(pen, sizeof pen, p));
  EXPECT_EQ(p.Status(), 0xC3);
  EXPECT_EQ(p.X(), 0x1234);
  EXPECT_EQ(p.Y(), 0x0678);
  EXPECT_EQ(p.Pressure(), 0x07FF);
  EXPECT_EQ(p.TiltA(), -16);
  EXPECT_EQ(p.TiltB(), 16);
}

TEST(VendorPacket, KeyWordFoldsIntoTheMask) {
  EXPECT_EQ(VendorKeyWordToMask(0x3001), 14u);
  EXPECT_EQ(VendorKeyWordToMask(0x1000), mask_bits::kSide2);
  EXPECT_EQ(VendorKeyWordToMask(0x2000), mask_bits::kSide1);
  EXPECT_EQ(VendorKeyWordToMask(0x0800), 1u << 14);
  EXPECT_EQ(VendorKeyWordToMask(0xC000), 0u) << "bits 14..15 have no meaning";
  const uint8_t keys[5] = {0x80, 0xFF, 0xFE, 0x01, 0x30};
  VendorKeyPacket k;
  ASSERT_TRUE(DecodeVendorKeyPacket(keys, 5, k));
  EXPECT_EQ(k.wheel, 0xFE);
  EXPECT_EQ(k.keyWord, 0x3001);
  EXPECT_EQ(k.mask, 14u);
}

}  // namespace
}  // namespace pen
