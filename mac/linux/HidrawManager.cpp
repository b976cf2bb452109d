#include "mac/linux/HidrawManager.h"

#include <fcntl.h>
#include <libudev.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace penmac::linux_layer {

namespace {
constexpr uint64_t kStopTag = 1;
constexpr uint64_t kMonitorTag = 2;
}  // namespace

HidrawManager::HidrawManager() {
  epoll_ = epoll_create1(EPOLL_CLOEXEC);
  stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  Watch(stopFd_, kStopTag);
}

HidrawManager::~HidrawManager() {
  devices_.clear();
  if (monitor_ != nullptr) udev_monitor_unref(monitor_);
  if (udev_ != nullptr) udev_unref(udev_);
  if (stopFd_ >= 0) close(stopFd_);
  if (epoll_ >= 0) close(epoll_);
}

void HidrawManager::SetDeviceMatchingMultiple(std::span<const HIDMonitorData> matching) {
  matching_.assign(matching.begin(), matching.end());
}

int HidrawManager::Open() {
  udev_ = udev_new();
  if (udev_ == nullptr) return -ENOMEM;
  // Events that udev has finished with (rules applied, access granted) when
  // a udev daemon runs; the kernel's own otherwise (containers, minimal
  // systems), where the node exists as soon as the event is sent.
  monitor_ = udev_monitor_new_from_netlink(udev_, UdevIsRunning() ? "udev" : "kernel");
  if (monitor_ == nullptr) return -EIO;
  udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr);
  if (udev_monitor_enable_receiving(monitor_) < 0) return -EIO;
  Watch(udev_monitor_get_fd(monitor_), kMonitorTag);
  return 0;
}

void HidrawManager::RegisterCallbacks(IHidManagerClient* client) { client_ = client; }

void HidrawManager::Watch(int fd, uint64_t tag) {
  epoll_event ev{};
  ev.events = EPOLLIN;
  ev.data.u64 = tag;
  epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &ev);
}

void HidrawManager::Unwatch(int fd) { epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr); }

void HidrawManager::Consider(udev_device* hidraw) {
  const char* syspath = udev_device_get_syspath(hidraw);
  if (syspath == nullptr) return;
  // A node present at start may also arrive as an event from the monitor,
  // which is enabled first so that nothing is missed in between.
  if (std::any_of(devices_.begin(), devices_.end(),
                  [syspath](const Entry& e) { return e.device->Info().syspath == syspath; })) {
    return;
  }
  auto info = ReadHidrawInfo(hidraw);
  if (!info || !Matches(*info, matching_)) return;
  const int fd = open(info->devnode.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (onOpenFailed) onOpenFailed(info->devnode, errno);
    return;
  }
  auto device = std::make_shared<HidrawDevice>(fd, std::move(*info));
  const uint64_t tag = nextTag_++;
  devices_.push_back(Entry{tag, device});
  if (client_ != nullptr) client_->rawDeviceAdded(0, this, device);
  Watch(fd, tag);
}

void HidrawManager::Remove(const std::string& syspath) {
  const auto it = std::find_if(devices_.begin(), devices_.end(),
                               [&syspath](const Entry& e) { return e.device->Info().syspath == syspath; });
  if (it == devices_.end()) return;
  const std::shared_ptr<HidrawDevice> device = it->device;
  devices_.erase(it);
  Unwatch(device->Fd());
  device->Close();
  if (client_ != nullptr) client_->rawDeviceRemoved(0, this, device);
}

void HidrawManager::Run() {
  if (udev_ != nullptr) {
    udev_enumerate* e = udev_enumerate_new(udev_);
    udev_enumerate_add_match_subsystem(e, "hidraw");
    udev_enumerate_scan_devices(e);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
      if (udev_device* d = udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry))) {
        Consider(d);
        udev_device_unref(d);
      }
    }
    udev_enumerate_unref(e);
  }

  epoll_event events[16];
  for (;;) {
    const int n = epoll_wait(epoll_, events, 16, -1);
    if (n < 0) {
      if (errno == EINTR) continue;
      return;
    }
    for (int i = 0; i < n; ++i) {
      const uint64_t tag = events[i].data.u64;
      if (tag == kStopTag) return;
      if (tag == kMonitorTag) {
        udev_device* d = udev_monitor_receive_device(monitor_);
        if (d == nullptr) continue;
        const char* action = udev_device_get_action(d);
        if (action != nullptr && std::strcmp(action, "remove") == 0) {
          Remove(udev_device_get_syspath(d));
        } else if (action != nullptr && std::strcmp(action, "add") == 0) {
          Consider(d);
        }
        udev_device_unref(d);
        continue;
      }
      const auto it =
          std::find_if(devices_.begin(), devices_.end(), [tag](const Entry& e) { return e.tag == tag; });
      if (it == devices_.end()) continue;
      // A node that fails to read has gone; the udev event may come later or,
      // without udev, not at all.
      if (!it->device->ReadReports()) Remove(it->device->Info().syspath);
    }
  }
}

void HidrawManager::Stop() {
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = write(stopFd_, &one, sizeof one);
}

}  // namespace penmac::linux_layer
