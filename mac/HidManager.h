#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "mac/HIDMonitorData.h"

// The platform's HID manager as the device monitor uses it: matching by a
// list of entries, arrival and removal callbacks, the properties of a
// device, one feature report, and every input report handed over report-ID
// byte first - all on the one thread that runs the manager's loop.
namespace penmac {

// A device property: absent, a number, or text.
using HidPropertyValue = std::variant<std::monostate, int64_t, std::string>;

namespace hid_property {
inline constexpr std::string_view kLocationId = "LocationID";
inline constexpr std::string_view kVendorId = "VendorID";
inline constexpr std::string_view kProductId = "ProductID";
inline constexpr std::string_view kMaxInputReportSize = "MaxInputReportSize";
inline constexpr std::string_view kProduct = "Product";
inline constexpr std::string_view kVersionNumber = "VersionNumber";
}  // namespace hid_property

enum class HidReportType { Input = 0, Output = 1, Feature = 2 };

class IHidDeviceRef;

// What the manager calls; all calls come on the manager's thread.
class IHidManagerClient {
 public:
  virtual ~IHidManagerClient() = default;
  // An input report of a device whose input callback was registered; the
  // bytes live in the buffer given at registration.
  virtual void read(int result, IHidDeviceRef* sender, HidReportType type, uint32_t reportId, const uint8_t* report,
                    size_t reportLength) = 0;
  virtual void rawDeviceAdded(int result, void* sender, const std::shared_ptr<IHidDeviceRef>& device) = 0;
  virtual void rawDeviceRemoved(int result, void* sender, const std::shared_ptr<IHidDeviceRef>& device) = 0;
  // The machine has woken from sleep. A device reset on the way back keeps
  // its node and so is neither removed nor added, but may have lost what it
  // was told at arrival.
  virtual void systemResumed() {}
};

class IHidDeviceRef {
 public:
  virtual ~IHidDeviceRef() = default;
  virtual HidPropertyValue GetProperty(std::string_view key) const = 0;
  // `report` starts with the report ID itself. 0 on success.
  virtual int SetReport(HidReportType type, uint32_t reportId, const uint8_t* report, size_t length) = 0;
  // From now on each input report is read into `buffer` (at most `size`
  // bytes) and handed to `client->read`. The buffer must outlive the
  // registration, which ends with the device's removal.
  virtual void RegisterInputReportCallback(uint8_t* buffer, size_t size, IHidManagerClient* client) = 0;
};

using HidDeviceRef = std::shared_ptr<IHidDeviceRef>;

class IHidManager {
 public:
  virtual ~IHidManager() = default;
  virtual void SetDeviceMatchingMultiple(std::span<const HIDMonitorData> matching) = 0;
  // Result not examined by the monitor; a manager that cannot open keeps
  // running and never reports a device.
  virtual int Open() = 0;
  virtual void RegisterCallbacks(IHidManagerClient* client) = 0;
  // Runs the manager on the calling thread: devices present at the start are
  // announced like later arrivals. Returns only after Stop.
  virtual void Run() = 0;
  // Any thread. Ends Run.
  virtual void Stop() = 0;
};

}  // namespace penmac
