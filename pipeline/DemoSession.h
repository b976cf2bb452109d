#pragma once
#include <array>
#include <cstdint>

#include "pipeline/TabletRecording.h"

namespace pen {

// One pen sample as interface B reports it.
struct DigitizerSample {
  uint16_t x = 0;            // 0..4095
  uint16_t y = 0;            // 0..4095, 0x8000 and up over the soft-key strip
  uint16_t rawPressure = 0;  // falls as the tip is pressed
  bool inRange = true;       // false: the report carries no position
  uint8_t sideValue = 0;     // 4 or 6 for a side button
  uint16_t keysDown = 0;     // bit 0 = key 1 .. bit 11 = key 12
  int8_t wheelStep = 0;      // -8..7
  int8_t tiltA = 0;
  int8_t tiltB = 0;
};

constexpr uint8_t kDigitizerReportId = 0x07;
constexpr uint8_t kVendorReportId = 0x08;
constexpr size_t kDigitizerReportBytes = 15;  // report ID + 14 data bytes
constexpr size_t kVendorReportBytes = 10;     // report ID + 9 data bytes

// The full interface B report, report ID first.
std::array<uint8_t, kDigitizerReportBytes> EncodeDigitizerReport(const DigitizerSample& s);
// An interface A key/wheel packet, report ID first.
std::array<uint8_t, kVendorReportBytes> EncodeVendorKeyPacket(uint16_t keyWord, uint8_t wheel);

// A built-in pen session: a short hover, a stroke across the tablet with the
// tip down, the lift, then a tablet key pressed and released on each
// interface, and one wheel step.
TTabletRecording MakeDemoSession(const TabletIdentity& identity = {});

// A built-in session for the settings window: a tablet whose pen pressure
// can be adjusted (firmware 0x2100) hovers into the rectangle (left, top,
// right, bottom, in tablet units, as mapped onto the screen), draws a wave
// across it with the pressure swelling and easing, tilting the pen as it
// goes, and leaves.
TTabletRecording MakeDrawingDemo(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom);

}  // namespace pen
