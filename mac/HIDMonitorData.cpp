#include "mac/HIDMonitorData.h"

namespace penmac {

bool Matches(const HIDMonitorData& entry, int64_t vendorId, int64_t productId,
             std::span<const UsagePair> collections) {
  if (entry.vendorId != vendorId || entry.productId != productId) return false;
  if (!entry.usagePage && !entry.usage) return true;
  for (const UsagePair& c : collections) {
    if (entry.usagePage && *entry.usagePage != static_cast<int64_t>(c.usagePage)) continue;
    if (entry.usage && *entry.usage != static_cast<int64_t>(c.usage)) continue;
    return true;
  }
  return false;
}

bool MatchesAny(std::span<const HIDMonitorData> list, int64_t vendorId, int64_t productId,
                std::span<const UsagePair> collections) {
  for (const HIDMonitorData& entry : list) {
    if (Matches(entry, vendorId, productId, collections)) return true;
  }
  return false;
}

}  // namespace penmac
