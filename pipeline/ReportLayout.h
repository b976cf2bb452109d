#pragma once
#include <cstddef>
#include <cstdint>

// Where the tablet puts each field of its input reports, counted in the whole
// report as the tablet sends it (report ID first). penhost and penmac both
// read these bytes and the encoder writes them; what a field means beyond its
// place (the side buttons' mask bits, bytes 7..8, the tilt's sign, the
// soft-key strip) is each decoder's own reading.
namespace pen::report_layout {

// The Windows HID layer hands the handlers the bytes after the report ID;
// penmac and the recordings keep it.
constexpr size_t kIdSize = 1;
constexpr size_t AfterId(size_t offset) { return offset - kIdSize; }

// The IDs the tablet numbers its reports with. The drivers never look at the
// input reports' IDs; feature reports are always 8 bytes with ID 8.
constexpr uint8_t kDigitizerReportId = 0x07;
constexpr uint8_t kVendorReportId = 0x08;
constexpr uint8_t kFeatureReportId = 0x08;
constexpr size_t kFeatureReportSize = 8;

// Interface B: the digitizer report. Multi-byte fields are big-endian.
namespace digitizer {
constexpr size_t kX = 1;         // 0..4095
constexpr size_t kY = 3;         // 0..4095 over the active area, above it over the soft-key strip
constexpr size_t kPressure = 5;  // raw pressure, falling as the tip is pressed harder
constexpr size_t kRest = 7;      // both bytes 0: no usable position; else the raw pressure at rest
constexpr size_t kSide = 9;      // the pen's side buttons as one value, not as bits
constexpr size_t kKeysLow = 11;  // keys 1..8, bit 0 = key 1, active low
constexpr size_t kKeysHigh = 12; // keys 9..12 and the wheel step, see below
constexpr size_t kTilt13 = 13;   // tilt, one byte each
constexpr size_t kTilt14 = 14;
constexpr size_t kSize = 15;

constexpr uint8_t kSideValue1 = 4;
constexpr uint8_t kSideValue2 = 6;

// The high keys byte: keys 9..10 in bits 0..1, keys 11..12 in bits 4..5
// (active low); the wheel step, a 4-bit two's-complement number, in bits
// 2..3 (low part) and 6..7 (high part, bit 7 the sign).
constexpr uint8_t kKeys9To10 = 0x03;
constexpr int kKeys11To12Shift = 4;
constexpr int kWheelLowShift = 2;
constexpr int kWheelHighShift = 6;
constexpr uint8_t kWheelSign = 0x80;
constexpr uint16_t kKeyCount = 12;
constexpr uint16_t kAllKeys = (1u << kKeyCount) - 1;
// No key held and no wheel movement.
constexpr uint8_t kKeysLowIdle = 0xFF;
constexpr uint8_t kKeysHighIdle = kKeys9To10 | (kKeys9To10 << kKeys11To12Shift);

// Keys 1..12 held (bit 0 = key 1, 1 = held) from the two keys bytes.
constexpr uint16_t KeyBits(uint8_t keysLow, uint8_t keysHigh) {
  const unsigned released =
      keysLow | (keysHigh & kKeys9To10) << 8 | ((keysHigh >> kKeys11To12Shift) & kKeys9To10) << 10;
  return static_cast<uint16_t>(~released & kAllKeys);
}

// The wheel step, -8..7, 0 = no movement.
constexpr int WheelStep(uint8_t keysHigh) {
  const int step = ((keysHigh >> kWheelLowShift) & 3) | (((keysHigh >> kWheelHighShift) & 3) << 2);
  return (keysHigh & kWheelSign) ? step - 16 : step;
}

// The two keys bytes for keys held (bit 0 = key 1) and a wheel step -8..7.
constexpr uint8_t KeysLowByte(uint16_t keysDown) { return static_cast<uint8_t>(~keysDown & 0xFF); }
constexpr uint8_t KeysHighByte(uint16_t keysDown, int wheelStep) {
  const unsigned released = ~keysDown & kAllKeys;
  const unsigned step = static_cast<unsigned>(wheelStep) & 0x0F;
  return static_cast<uint8_t>(((released >> 8) & kKeys9To10) | ((released >> 10) & kKeys9To10) << kKeys11To12Shift |
                              (step & 3) << kWheelLowShift | (step >> 2) << kWheelHighShift);
}
}  // namespace digitizer

// Interface A: the vendor packets (penhost only). Multi-byte fields are
// little-endian.
namespace vendor {
constexpr size_t kStatus = 1;    // 0x80: key/wheel packet; else a pen packet's status
// Pen packet.
constexpr size_t kPenX = 2;
constexpr size_t kPenY = 4;
constexpr size_t kPenPressure = 6;
constexpr size_t kPenExtra = 8;  // two bytes handed on unchanged
constexpr size_t kPenSize = 10;
// Key/wheel packet.
constexpr uint8_t kKeyStatus = 0x80;
constexpr uint8_t kKeyMarker = 0xFF;
constexpr size_t kMarker = 2;    // 0xFF, or the packet is ignored
constexpr size_t kWheel = 3;     // 0 = no movement
constexpr size_t kKeyWord = 4;   // bits 0..11 keys 1..12, bit 12 / 13 the side buttons
constexpr size_t kKeySize = 6;
// The ID and the nine data bytes a pen packet uses; the encoder writes
// key/wheel packets as long.
constexpr size_t kSize = 10;
}  // namespace vendor

}  // namespace pen::report_layout
