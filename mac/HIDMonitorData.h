#pragma once
#include <cstdint>
#include <optional>
#include <span>

namespace penmac {

// One top-level collection of a HID device, by its usage page and usage.
struct UsagePair {
  uint32_t usagePage = 0;
  uint32_t usage = 0;
  bool operator==(const UsagePair&) const = default;
};

// One entry of the monitor's matching list; an absent usage matches any.
struct HIDMonitorData {
  int64_t vendorId = 0;
  int64_t productId = 0;
  std::optional<int64_t> usagePage;
  std::optional<int64_t> usage;
};

// Whether a device with these ids and top-level collections matches one
// entry: vendor and product equal, and when a usage page or usage is given,
// some collection has it (both in the same collection when both are given).
bool Matches(const HIDMonitorData& entry, int64_t vendorId, int64_t productId,
             std::span<const UsagePair> collections);
// Whether it matches any entry of the list.
bool MatchesAny(std::span<const HIDMonitorData> list, int64_t vendorId, int64_t productId,
                std::span<const UsagePair> collections);

// The tablet this application drives.
constexpr int64_t kTabletVendorId = 0x08F2;
constexpr int64_t kTabletProductId = 0x6811;

}  // namespace penmac
