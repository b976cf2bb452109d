#pragma once
#include <cstdint>
#include <string>

#include "mac/HidManager.h"

namespace penmac {

// What the notifications say about one attached device. A property that is
// missing or of another type gives the empty text or 0; the location is
// taken only when it is text.
struct HIDDevice {
  std::string id;
  int64_t vendorId = 0;
  int64_t productId = 0;
  int64_t reportSize = 0;
  HidDeviceRef device;
  std::string name;
  int64_t version = 0;

  HIDDevice() = default;
  explicit HIDDevice(HidDeviceRef ref);
};

}  // namespace penmac
