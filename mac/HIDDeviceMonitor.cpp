#include "mac/HIDDeviceMonitor.h"

#include <utility>

#include "mac/HIDDevice.h"

namespace penmac {

HIDDeviceMonitor::HIDDeviceMonitor(std::vector<HIDMonitorData> vp, int64_t reportSize, IHidManager& manager,
                                   INotificationCenter& center)
    : vp(std::move(vp)), reportSize(reportSize), manager_(manager), center_(center) {}

void HIDDeviceMonitor::start() {
  manager_.SetDeviceMatchingMultiple(vp);
  manager_.Open();  // not examined: without access no device is ever announced
  manager_.RegisterCallbacks(this);
  manager_.Run();
}

void HIDDeviceMonitor::read(int, IHidDeviceRef*, HidReportType, uint32_t, const uint8_t* report,
                            size_t reportLength) {
  // A copy: the device's buffer is reused for the next report while the main
  // thread still works on this one.
  Notification n{HIDDeviceDataReceived, DataEntry{}};
  std::get<DataEntry>(n.object).data.Assign(report, report != nullptr ? reportLength : 0);
  center_.Post(std::move(n));
}

void HIDDeviceMonitor::rawDeviceAdded(int, void*, const HidDeviceRef& device) {
  if (!device) return;
  const size_t size = reportSize > 0 ? static_cast<size_t>(reportSize) : 0;
  auto& entry = devices_[device.get()];
  entry.device = device;
  entry.buffer = std::make_unique<uint8_t[]>(size > 0 ? size : 1);
  device->RegisterInputReportCallback(entry.buffer.get(), size, this);
  center_.Post(Notification{HIDDeviceConnected, DeviceEntry{HIDDevice(device)}});
}

void HIDDeviceMonitor::rawDeviceRemoved(int, void*, const HidDeviceRef& device) {
  if (!device) return;
  // The manager has ended the registration before calling this.
  devices_.erase(device.get());
  center_.Post(Notification{HIDDeviceDisconnected, IdEntry{HIDDevice(device).id}});
}

void HIDMonitor::rawDeviceAdded(int result, void* sender, const HidDeviceRef& device) {
  if (device) device->SetReport(HidReportType::Feature, kModeReportId, kModeReport, sizeof kModeReport);
  HIDDeviceMonitor::rawDeviceAdded(result, sender, device);
}

void HIDMonitor::systemResumed() {
  for (auto& [key, entry] : devices_) {
    entry.device->SetReport(HidReportType::Feature, kModeReportId, kModeReport, sizeof kModeReport);
  }
}

}  // namespace penmac
