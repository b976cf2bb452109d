#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "pipeline/ReportLayout.h"
#include "pipeline/TabletRecording.h"

// Input reports as the tablet sends them, for the recordings that the virtual
// tablet and penmac's replay play, and for the tests of both drivers.
namespace pen {

// One pen sample as interface B reports it.
struct DigitizerSample {
  uint16_t x = 0;               // 0..4095
  uint16_t y = 0;               // 0..4095, 0x8000 and up over the soft-key strip
  uint16_t rawPressure = 0;     // falls as the tip is pressed
  uint16_t restPressure = 1450; // the raw pressure at rest, sent while in range
  bool inRange = true;          // false: the report carries no position (bytes 7..8 are 0)
  uint8_t sideValue = 0;        // 4 or 6 for a side button
  uint16_t keysDown = 0;        // bit 0 = key 1 .. bit 11 = key 12
  int8_t wheelStep = 0;         // -8..7
  int8_t tiltA = 0;             // report byte 14 (penmac's tilt y)
  int8_t tiltB = 0;             // report byte 13 (penmac's tilt x)
};

constexpr uint8_t kDigitizerReportId = report_layout::kDigitizerReportId;
constexpr uint8_t kVendorReportId = report_layout::kVendorReportId;
constexpr size_t kDigitizerReportBytes = report_layout::digitizer::kSize;
constexpr size_t kVendorReportBytes = report_layout::vendor::kSize;

using DigitizerReportBytes = std::array<uint8_t, kDigitizerReportBytes>;
using VendorReportBytes = std::array<uint8_t, kVendorReportBytes>;

// The full interface B report, report ID first.
DigitizerReportBytes EncodeDigitizerReport(const DigitizerSample& s);
// Interface A packets, report ID first: a key/wheel packet, and a pen packet
// (status 0xC0 plus the tip and side-button bits) with its two extra bytes.
VendorReportBytes EncodeVendorKeyPacket(uint16_t keyWord, uint8_t wheel);
VendorReportBytes EncodeVendorPenPacket(uint8_t status, uint16_t x, uint16_t y, uint16_t pressure,
                                        uint8_t extra7 = 0, uint8_t extra8 = 0);

// The bytes after the report ID, as penhost's report handlers receive them.
template <size_t N>
constexpr std::array<uint8_t, N - report_layout::kIdSize> WithoutReportId(const std::array<uint8_t, N>& report) {
  std::array<uint8_t, N - report_layout::kIdSize> data{};
  for (size_t i = 0; i < data.size(); ++i) data[i] = report[i + report_layout::kIdSize];
  return data;
}

// Appends a report to a recording after `delayMs`.
void AddDigitizerReport(TTabletRecording& rec, uint32_t delayMs, const DigitizerSample& s);
void AddVendorReport(TTabletRecording& rec, uint32_t delayMs, const VendorReportBytes& report);

}  // namespace pen
