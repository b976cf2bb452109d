// Arbitrary bytes as a HID report descriptor, the way the Linux layer reads
// one from sysfs for every hidraw node.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "mac/ReportDescriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const penmac::ReportDescriptorInfo info = penmac::ParseReportDescriptor(data, size);
  // At most 2^24 bits of input per report, plus the report ID.
  if (info.maxInputReportSize < 0 || info.maxInputReportSize > (1 << 21) + 1) std::abort();
  if (info.collections.size() > size) std::abort();
  return 0;
}
