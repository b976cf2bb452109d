#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mac/HIDMonitorData.h"
#include "mac/ReportDescriptor.h"

struct udev;
struct udev_device;

namespace penmac::linux_layer {

// What udev and sysfs tell about one hidraw node.
struct HidrawInfo {
  std::string syspath;
  std::string devnode;  // /dev/hidrawN
  int64_t vendorId = 0;
  int64_t productId = 0;
  std::optional<int64_t> version;  // the USB device's bcdDevice, or the HID device's input version
  std::string product;             // the USB product string, or the HID device's name
  ReportDescriptorInfo descriptor;
};

// "0003:000008F2:00006811" (bus:vendor:product, hex) of a HID device.
bool ParseHidId(std::string_view text, int64_t& bus, int64_t& vendor, int64_t& product);
// A hexadecimal number without prefix ("2201" -> 0x2201), as sysfs writes
// bcdDevice and input ids.
std::optional<int64_t> ParseHex(std::string_view text);

// Nothing when the node has no HID device above it.
std::optional<HidrawInfo> ReadHidrawInfo(udev_device* hidraw);
// Every hidraw node present now whose device matches the list.
std::vector<HidrawInfo> EnumerateMatchingHidraw(udev* context, std::span<const HIDMonitorData> matching);
bool Matches(const HidrawInfo& info, std::span<const HIDMonitorData> matching);

// Whether a udev daemon runs: without one, only the kernel's own device
// events are there to watch.
bool UdevIsRunning();

}  // namespace penmac::linux_layer
