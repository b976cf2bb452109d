#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "mac/HIDMonitorData.h"

namespace penmac {

// What the device monitor needs from a HID report descriptor: the usage of
// each top-level collection (for matching by usage) and the size of the
// largest input report in bytes, report ID included when the device numbers
// its reports.
struct ReportDescriptorInfo {
  std::vector<UsagePair> collections;
  int64_t maxInputReportSize = 0;
};

// Walks the descriptor's items. A truncated or inconsistent descriptor gives
// what was understood up to the fault; nothing is read past `length`.
ReportDescriptorInfo ParseReportDescriptor(const uint8_t* data, size_t length);

}  // namespace penmac
