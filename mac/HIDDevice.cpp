#include "mac/HIDDevice.h"

#include <utility>

namespace penmac {

namespace {

std::string Text(const IHidDeviceRef& ref, std::string_view key) {
  const HidPropertyValue v = ref.GetProperty(key);
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  return {};
}

int64_t Number(const IHidDeviceRef& ref, std::string_view key) {
  const HidPropertyValue v = ref.GetProperty(key);
  if (const auto* n = std::get_if<int64_t>(&v)) return *n;
  return 0;
}

}  // namespace

HIDDevice::HIDDevice(HidDeviceRef ref) : device(std::move(ref)) {
  if (!device) return;
  id = Text(*device, hid_property::kLocationId);
  vendorId = Number(*device, hid_property::kVendorId);
  productId = Number(*device, hid_property::kProductId);
  reportSize = Number(*device, hid_property::kMaxInputReportSize);
  name = Text(*device, hid_property::kProduct);
  version = Number(*device, hid_property::kVersionNumber);
}

}  // namespace penmac
