#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mac/HidManager.h"
#include "mac/linux/HidrawDevice.h"
#include "mac/linux/ResumeSignal.h"

struct udev;
struct udev_monitor;

namespace penmac::linux_layer {

// The HID manager of Linux: hidraw nodes found through udev, watched for
// arrival and removal with a udev monitor, read without blocking, all from
// one epoll loop on the thread that calls Run. Between events the thread
// sleeps in the kernel.
//
// The kernel's own input devices of a tablet that is being driven (its pen
// collection as a plain absolute pointer) are grabbed (EVIOCGRAB) for as long
// as the tablet is here and grabbing is wanted, so that the desktop does not
// see every stroke twice; when the driver ends, the kernel lets go and the
// tablet works as that plain pointer again.
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

  // Before Run: wake-ups from sleep, passed on to the client.
  void SetResumeSignal(IResumeSignal* signal) { resume_ = signal; }
  // Any thread: whether the kernel's own input devices of the tablet are
  // held (true at the start).
  void SetGrabbing(bool grab);

  // Called on the manager's thread when a matching node cannot be opened
  // (for the program's message about access rights).
  std::function<void(const std::string& devnode, int error)> onOpenFailed;
  // Called on the manager's thread when one of the kernel's input devices
  // of the tablet cannot be grabbed.
  std::function<void(const std::string& devnode, int error)> onGrabFailed;

 private:
  void Consider(udev_device* hidraw);
  void Remove(const std::string& syspath);
  // The kernel's event nodes below `root` (the tablet's USB device, or its
  // HID device when there is no USB device above it).
  void TakeKernelNodes(const std::string& root);
  void TakeKernelNode(const std::string& root, udev_device* input);
  void ApplyGrab();
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
    std::string root;
  };
  std::vector<Entry> devices_;
  struct KernelNode {
    std::string root;
    std::string devnode;
    int fd;
    bool grabbed;
  };
  std::vector<KernelNode> kernelNodes_;
  IResumeSignal* resume_ = nullptr;
  int grabFd_ = -1;
  std::atomic<bool> grabWanted_{true};
};

}  // namespace penmac::linux_layer
