#include "mac/linux/HidrawDevice.h"

#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

namespace penmac::linux_layer {

HidrawDevice::HidrawDevice(int fd, HidrawInfo info) : fd_(fd), info_(std::move(info)) {}

HidrawDevice::~HidrawDevice() { Close(); }

void HidrawDevice::Close() {
  client_ = nullptr;
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

HidPropertyValue HidrawDevice::GetProperty(std::string_view key) const {
  namespace p = hid_property;
  if (key == p::kLocationId) return info_.devnode;
  if (key == p::kVendorId) return info_.vendorId;
  if (key == p::kProductId) return info_.productId;
  if (key == p::kProduct) return info_.product;
  if (key == p::kVersionNumber) {
    if (info_.version) return *info_.version;
    return std::monostate{};
  }
  if (key == p::kMaxInputReportSize) {
    if (info_.descriptor.maxInputReportSize > 0) return info_.descriptor.maxInputReportSize;
    return std::monostate{};
  }
  return std::monostate{};
}

int HidrawDevice::SetReport(HidReportType type, uint32_t, const uint8_t* report, size_t length) {
  if (fd_ < 0 || report == nullptr || length == 0) return -EINVAL;
  std::vector<uint8_t> buffer(report, report + length);
  int rc = 0;
  switch (type) {
    case HidReportType::Feature:
      rc = ioctl(fd_, HIDIOCSFEATURE(length), buffer.data());
      break;
    case HidReportType::Output:
      rc = static_cast<int>(write(fd_, buffer.data(), buffer.size()));
      break;
    case HidReportType::Input:
      return -EINVAL;
  }
  return rc < 0 ? -errno : 0;
}

void HidrawDevice::RegisterInputReportCallback(uint8_t* buffer, size_t size, IHidManagerClient* client) {
  buffer_ = buffer;
  size_ = size;
  client_ = client;
}

bool HidrawDevice::ReadReports() {
  // The node is non-blocking: take every report waiting now.
  for (;;) {
    if (fd_ < 0) return false;
    uint8_t scratch[1];
    uint8_t* into = buffer_ != nullptr && size_ > 0 ? buffer_ : scratch;
    const ssize_t n = read(fd_, into, buffer_ != nullptr && size_ > 0 ? size_ : sizeof scratch);
    if (n > 0) {
      if (client_ != nullptr && into == buffer_) {
        client_->read(0, this, HidReportType::Input, into[0], into, static_cast<size_t>(n));
      }
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || (n < 0 && errno == EAGAIN)) return true;
    return false;  // EIO/ENODEV: the device has gone
  }
}

}  // namespace penmac::linux_layer
