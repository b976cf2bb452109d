#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "mac/HIDMonitorData.h"
#include "mac/HidManager.h"
#include "mac/Notifications.h"
#include "pipeline/ReportLayout.h"

namespace penmac {

// Finds the devices of the matching list, hands every input report on and
// announces arrival and removal, all through notifications posted from the
// thread that runs start(). It never touches the application's model.
class HIDDeviceMonitor : public IHidManagerClient {
 public:
  HIDDeviceMonitor(std::vector<HIDMonitorData> vp, int64_t reportSize, IHidManager& manager,
                   INotificationCenter& center);
  ~HIDDeviceMonitor() override = default;

  // Sets up matching and runs the manager on the calling thread until the
  // manager is stopped.
  virtual void start();

  void read(int result, IHidDeviceRef* sender, HidReportType type, uint32_t reportId, const uint8_t* report,
            size_t reportLength) override;
  void rawDeviceAdded(int result, void* sender, const HidDeviceRef& device) override;
  void rawDeviceRemoved(int result, void* sender, const HidDeviceRef& device) override;

  std::vector<HIDMonitorData> vp;
  int64_t reportSize;

 protected:
  IHidManager& manager_;
  INotificationCenter& center_;
  // The devices present, each with its report buffer, for as long as its
  // registration lives.
  struct Registered {
    HidDeviceRef device;
    std::unique_ptr<uint8_t[]> buffer;
  };
  std::map<const IHidDeviceRef*, Registered> devices_;
};

// The tablet's monitor: switches each arriving tablet into its reporting mode
// before announcing it.
class HIDMonitor : public HIDDeviceMonitor {
 public:
  using HIDDeviceMonitor::HIDDeviceMonitor;
  void rawDeviceAdded(int result, void* sender, const HidDeviceRef& device) override;
  // A tablet reset during sleep is back in its default mode: tell it again.
  void systemResumed() override;
};

// Feature report 8, mode 3, report ID first.
inline constexpr uint8_t kModeReportId = pen::report_layout::kFeatureReportId;
inline constexpr uint8_t kModeReport[pen::report_layout::kFeatureReportSize] = {kModeReportId, 0x03};

}  // namespace penmac
