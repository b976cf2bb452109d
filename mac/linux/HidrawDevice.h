#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "mac/HidManager.h"
#include "mac/linux/UdevHid.h"

namespace penmac::linux_layer {

// One open hidraw node. Its properties are read once, at arrival, so that
// they are still there when the device is announced gone.
class HidrawDevice : public IHidDeviceRef {
 public:
  HidrawDevice(int fd, HidrawInfo info);
  ~HidrawDevice() override;
  HidrawDevice(const HidrawDevice&) = delete;
  HidrawDevice& operator=(const HidrawDevice&) = delete;

  HidPropertyValue GetProperty(std::string_view key) const override;
  int SetReport(HidReportType type, uint32_t reportId, const uint8_t* report, size_t length) override;
  void RegisterInputReportCallback(uint8_t* buffer, size_t size, IHidManagerClient* client) override;

  // For the manager: the node to watch, and the reading that follows its
  // readiness. False when the device is gone.
  int Fd() const { return fd_; }
  const HidrawInfo& Info() const { return info_; }
  bool Registered() const { return client_ != nullptr; }
  bool ReadReports();
  // Ends the registration and closes the node.
  void Close();

 private:
  int fd_;
  HidrawInfo info_;
  uint8_t* buffer_ = nullptr;
  size_t size_ = 0;
  IHidManagerClient* client_ = nullptr;
};

}  // namespace penmac::linux_layer
