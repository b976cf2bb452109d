#include "mac/linux/UdevHid.h"

#include <fcntl.h>
#include <libudev.h>
#include <unistd.h>

#include <charconv>
#include <cstring>

namespace penmac::linux_layer {

namespace {

// Report descriptors are at most 4096 bytes (HID_MAX_DESCRIPTOR_SIZE).
constexpr size_t kMaxDescriptor = 4096;

std::string Attr(udev_device* d, const char* name) {
  const char* v = d != nullptr ? udev_device_get_sysattr_value(d, name) : nullptr;
  return v != nullptr ? v : "";
}

std::string Property(udev_device* d, const char* name) {
  const char* v = d != nullptr ? udev_device_get_property_value(d, name) : nullptr;
  return v != nullptr ? v : "";
}

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

std::vector<uint8_t> ReadDescriptor(const char* hidSyspath) {
  std::vector<uint8_t> bytes;
  const std::string path = std::string(hidSyspath) + "/report_descriptor";
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return bytes;
  bytes.resize(kMaxDescriptor);
  const ssize_t n = read(fd, bytes.data(), bytes.size());
  close(fd);
  bytes.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return bytes;
}

// The version of a HID device without a USB device above it (Bluetooth,
// I2C, uhid): its input devices carry it.
std::optional<int64_t> InputVersion(udev_device* hid) {
  udev* context = udev_device_get_udev(hid);
  udev_enumerate* e = udev_enumerate_new(context);
  if (e == nullptr) return std::nullopt;
  udev_enumerate_add_match_parent(e, hid);
  udev_enumerate_add_match_subsystem(e, "input");
  udev_enumerate_scan_devices(e);
  std::optional<int64_t> version;
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
    udev_device* d = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
    if (d == nullptr) continue;
    const char* sysname = udev_device_get_sysname(d);
    if (sysname != nullptr && std::strncmp(sysname, "input", 5) == 0) version = ParseHex(Trimmed(Attr(d, "id/version")));
    udev_device_unref(d);
    if (version) break;
  }
  udev_enumerate_unref(e);
  return version;
}

}  // namespace

bool ParseHidId(std::string_view text, int64_t& bus, int64_t& vendor, int64_t& product) {
  int64_t* out[] = {&bus, &vendor, &product};
  for (size_t i = 0; i < 3; ++i) {
    const size_t colon = text.find(':');
    const std::string_view part = i < 2 ? text.substr(0, colon) : text;
    if ((i < 2 && colon == std::string_view::npos)) return false;
    const auto v = ParseHex(part);
    if (!v) return false;
    *out[i] = *v;
    if (i < 2) text.remove_prefix(colon + 1);
  }
  return true;
}

std::optional<int64_t> ParseHex(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  int64_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
  if (ec != std::errc() || end != text.data() + text.size() || v < 0) return std::nullopt;
  return v;
}

std::optional<HidrawInfo> ReadHidrawInfo(udev_device* hidraw) {
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
  const char* devnode = udev_device_get_devnode(hidraw);
  if (hid == nullptr || devnode == nullptr) return std::nullopt;
  HidrawInfo info;
  info.syspath = udev_device_get_syspath(hidraw);
  info.devnode = devnode;
  int64_t bus = 0;
  if (!ParseHidId(Property(hid, "HID_ID"), bus, info.vendorId, info.productId)) return std::nullopt;
  const std::vector<uint8_t> descriptor = ReadDescriptor(udev_device_get_syspath(hid));
  info.descriptor = ParseReportDescriptor(descriptor.data(), descriptor.size());

  udev_device* usb = udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device");
  if (usb != nullptr) {
    info.product = Trimmed(Attr(usb, "product"));
    info.version = ParseHex(Trimmed(Attr(usb, "bcdDevice")));
  }
  if (info.product.empty()) info.product = Property(hid, "HID_NAME");
  if (!info.version) info.version = InputVersion(hid);
  return info;
}

bool Matches(const HidrawInfo& info, std::span<const HIDMonitorData> matching) {
  return MatchesAny(matching, info.vendorId, info.productId, info.descriptor.collections);
}

std::vector<HidrawInfo> EnumerateMatchingHidraw(udev* context, std::span<const HIDMonitorData> matching) {
  std::vector<HidrawInfo> found;
  udev_enumerate* e = udev_enumerate_new(context);
  if (e == nullptr) return found;
  udev_enumerate_add_match_subsystem(e, "hidraw");
  udev_enumerate_scan_devices(e);
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
    udev_device* d = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
    if (d == nullptr) continue;
    if (auto info = ReadHidrawInfo(d); info && Matches(*info, matching)) found.push_back(std::move(*info));
    udev_device_unref(d);
  }
  udev_enumerate_unref(e);
  return found;
}

bool UdevIsRunning() { return access("/run/udev/control", F_OK) == 0; }

}  // namespace penmac::linux_layer
