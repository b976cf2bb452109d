#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mac/HidManager.h"
#include "mac/linux/HidrawDevice.h"

struct udev;
struct udev_monitor;

namespace penmac::linux_layer {

// The HID manager of Linux: hidraw nodes found through udev, watched for
// arrival and removal with a udev monitor, read without blocking, all from
// one epoll loop on the thread that calls Run. Between events the thread
// sleeps in the kernel.
class HidrawManager : public IHidManager {
 public:
  HidrawManager();
  ~HidrawManager() override;
  HidrawManager(const HidrawManager&) = delete;
  HidrawManager& operator=(const HidrawManager&) = delete;

  void SetDeviceMatchingMultiple(std::span<const HIDMonitorData> matching) override;
  int Open() override;
  void RegisterCallbacks(IHidManagerClient* client) override;
  void Run() override;
  void Stop() override;

  // Called on the manager's thread when a matching node cannot be opened
  // (for the program's message about access rights).
  std::function<void(const std::string& devnode, int error)> onOpenFailed;

 private:
  void Consider(udev_device* hidraw);
  void Remove(const std::string& syspath);
  void Watch(int fd, uint64_t tag);
  void Unwatch(int fd);

  std::vector<HIDMonitorData> matching_;
  IHidManagerClient* client_ = nullptr;
  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
  int epoll_ = -1;
  int stopFd_ = -1;
  uint64_t nextTag_ = 16;
  struct Entry {
    uint64_t tag;
    std::shared_ptr<HidrawDevice> device;
  };
  std::vector<Entry> devices_;
};

}  // namespace penmac::linux_layer
