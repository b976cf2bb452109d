#pragma once
#include <cstddef>
#include <cstdint>

#include "pipeline/PenPacket.h"
#include "pipeline/ReportLayout.h"

// The tablet's two input report layouts and the button state mask they fold
// into. Every function takes the report's data bytes (the HID report ID
// already removed) with their length, and rejects a report too short for the
// bytes it reads instead of reading past its end.
namespace pen {

// Button state mask handed to the button manager.
namespace mask_bits {
constexpr uint32_t kTip = 1u << 0;
constexpr uint32_t kSide1 = 1u << 1;  // side-button value 4 / key word bit 13
constexpr uint32_t kSide2 = 1u << 2;  // side-button value 6 / key word bit 12
constexpr int kKeyShift = 3;          // tablet keys 1..12 -> bits 3..14
constexpr int kSoftKeyShift = 15;     // soft keys 1..10 -> bits 15..24
constexpr int kSoftKeyCount = 10;
constexpr uint32_t kKeys = 0xFFFu << kKeyShift;
constexpr uint32_t kSoftKeys = 0x3FFu << kSoftKeyShift;
}  // namespace mask_bits

// Interface B: digitizer report. Y at 0x8000 or more means the pen is above
// the active area, over the soft-key strip.
constexpr size_t kDigitizerReportSize = report_layout::digitizer::kSize - report_layout::kIdSize;
constexpr uint16_t kStripY = 0x8000;

struct DigitizerReport {
  uint16_t x = 0;
  uint16_t y = 0;
  uint16_t rawPressure = 0;  // falls as the tip is pressed harder
  bool noPosition = false;   // data bytes 6 and 7 both 0
  uint8_t sideValue = 0;     // data byte 8 as sent
  uint32_t sideMask = 0;     // mask bits 1..2 from sideValue
  uint32_t keyBits = 0;      // K: keys 1..12, 1 = pressed
  int8_t wheelStep = 0;      // -8..7, 0 = no movement
  int8_t tiltA = 0;          // data byte 13
  int8_t tiltB = 0;          // data byte 12

  bool OverStrip() const { return y >= kStripY; }
  // Mask bits from the keys and side buttons (no tip, no soft key).
  uint32_t KeyMask() const { return (keyBits << mask_bits::kKeyShift) | sideMask; }
};

// False (and `out` untouched) when fewer than kDigitizerReportSize bytes.
bool DecodeDigitizerReport(const uint8_t* data, size_t length, DigitizerReport& out);

// The field decoders, exposed for the reports' finer rules.
uint32_t DigitizerKeyBits(uint8_t keysLow, uint8_t keysHigh);  // data bytes 10, 11
int8_t DigitizerWheelStep(uint8_t keysHigh);                    // data byte 11
uint32_t SideButtonMask(uint8_t sideValue);                     // data byte 8

// Soft key for a smoothed X over the strip: the mask bit of key n =
// (x + 160) div 430, with n kept to the ten keys that exist (a smoothed X
// can overshoot past the strip's ends).
int SoftKeyIndex(int32_t x);
uint32_t SoftKeyBit(int32_t x);

// Interface A: vendor packets.
constexpr size_t kVendorPenPacketSize = report_layout::vendor::kPenSize - report_layout::kIdSize;
constexpr size_t kVendorKeyPacketSize = report_layout::vendor::kKeySize - report_layout::kIdSize;
constexpr uint8_t kVendorKeyStatus = report_layout::vendor::kKeyStatus;
constexpr uint8_t kVendorKeyMarker = report_layout::vendor::kKeyMarker;

enum class VendorPacketKind {
  Pen,      // a pen packet: 9 bytes for the shared channel
  KeyWheel, // keys and wheel
  Ignored,  // status 0x80 with another byte 1: changes nothing
  Invalid,  // too short for what its status byte announces
};

VendorPacketKind ClassifyVendorPacket(const uint8_t* data, size_t length);

// (status AND 0xCF) = 0xC0: in range, no tip, no side button.
constexpr bool IsHoverStatus(uint8_t status) { return (status & 0xCF) == 0xC0; }

// Copies the 9 bytes of a pen packet. False unless ClassifyVendorPacket says Pen.
bool ReadVendorPenPacket(const uint8_t* data, size_t length, PenPacket& out);

struct VendorKeyPacket {
  uint8_t wheel = 0;     // 0 = no movement; handed on unchanged
  uint16_t keyWord = 0;  // W
  uint32_t mask = 0;     // W folded into the button state mask
};

// False unless ClassifyVendorPacket says KeyWheel.
bool DecodeVendorKeyPacket(const uint8_t* data, size_t length, VendorKeyPacket& out);

uint32_t VendorKeyWordToMask(uint16_t keyWord);

}  // namespace pen
