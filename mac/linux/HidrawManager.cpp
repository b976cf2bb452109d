#include "mac/linux/HidrawManager.h"

#include <fcntl.h>
#include <libudev.h>
#include <linux/input.h>
#include <sys/ioctl.h>
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
constexpr uint64_t kResumeTag = 3;
constexpr uint64_t kGrabTag = 4;

// The device whose kernel input nodes belong to the same tablet: its USB
// device, or the HID device itself when none is above it (uhid, Bluetooth).
std::string RootOf(udev_device* device) {
  udev_device* root = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
  if (root == nullptr) root = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
  const char* path = root != nullptr ? udev_device_get_syspath(root) : nullptr;
  return path != nullptr ? path : "";
}

bool IsEventNode(udev_device* input) {
  const char* devnode = udev_device_get_devnode(input);
  return devnode != nullptr && std::strncmp(devnode, "/dev/input/event", 16) == 0;
}
}  // namespace

HidrawManager::HidrawManager() {
  epoll_ = epoll_create1(EPOLL_CLOEXEC);
  stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  grabFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  Watch(stopFd_, kStopTag);
  Watch(grabFd_, kGrabTag);
}

HidrawManager::~HidrawManager() {
  devices_.clear();
  for (const KernelNode& node : kernelNodes_) close(node.fd);
  if (grabFd_ >= 0) close(grabFd_);
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
  udev_monitor_filter_add_match_subsystem_devtype(monitor_, "input", nullptr);
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
  const std::string root = RootOf(hidraw);
  devices_.push_back(Entry{tag, device, root});
  TakeKernelNodes(root);
  if (client_ != nullptr) client_->rawDeviceAdded(0, this, device);
  Watch(fd, tag);
}

void HidrawManager::TakeKernelNodes(const std::string& root) {
  if (root.empty() || udev_ == nullptr) return;
  udev_device* parent = udev_device_new_from_syspath(udev_, root.c_str());
  if (parent == nullptr) return;
  udev_enumerate* e = udev_enumerate_new(udev_);
  udev_enumerate_add_match_parent(e, parent);
  udev_enumerate_add_match_subsystem(e, "input");
  udev_enumerate_scan_devices(e);
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
    if (udev_device* d = udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry))) {
      TakeKernelNode(root, d);
      udev_device_unref(d);
    }
  }
  udev_enumerate_unref(e);
  udev_device_unref(parent);
}

void HidrawManager::TakeKernelNode(const std::string& root, udev_device* input) {
  if (!IsEventNode(input)) return;
  const std::string devnode = udev_device_get_devnode(input);
  if (std::any_of(kernelNodes_.begin(), kernelNodes_.end(),
                  [&devnode](const KernelNode& n) { return n.devnode == devnode; })) {
    return;
  }
  // Opened only to hold the grab; what the node reports is never read (the
  // kernel drops it when the node's buffer is full).
  const int fd = open(devnode.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (onGrabFailed) onGrabFailed(devnode, errno);
    return;
  }
  kernelNodes_.push_back(KernelNode{root, devnode, fd, false});
  ApplyGrab();
}

void HidrawManager::ApplyGrab() {
  const bool want = grabWanted_.load();
  for (KernelNode& node : kernelNodes_) {
    if (node.grabbed == want) continue;
    if (ioctl(node.fd, EVIOCGRAB, want ? 1 : 0) == 0) {
      node.grabbed = want;
    } else if (want && onGrabFailed) {
      onGrabFailed(node.devnode, errno);
    }
  }
}

void HidrawManager::SetGrabbing(bool grab) {
  grabWanted_.store(grab);
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = write(grabFd_, &one, sizeof one);
}

void HidrawManager::Remove(const std::string& syspath) {
  const auto it = std::find_if(devices_.begin(), devices_.end(),
                               [&syspath](const Entry& e) { return e.device->Info().syspath == syspath; });
  if (it == devices_.end()) return;
  const std::shared_ptr<HidrawDevice> device = it->device;
  const std::string root = it->root;
  devices_.erase(it);
  // The kernel's nodes go with the tablet's last interface.
  if (std::none_of(devices_.begin(), devices_.end(), [&root](const Entry& e) { return e.root == root; })) {
    std::erase_if(kernelNodes_, [&root](const KernelNode& n) {
      if (n.root != root) return false;
      close(n.fd);
      return true;
    });
  }
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
  if (resume_ != nullptr && resume_->Fd() >= 0) Watch(resume_->Fd(), kResumeTag);

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
      if (tag == kResumeTag) {
        if (resume_->Process() && client_ != nullptr) client_->systemResumed();
        continue;
      }
      if (tag == kGrabTag) {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t r = read(grabFd_, &count, sizeof count);
        ApplyGrab();
        continue;
      }
      if (tag == kMonitorTag) {
        udev_device* d = udev_monitor_receive_device(monitor_);
        if (d == nullptr) continue;
        const char* action = udev_device_get_action(d);
        const char* subsystem = udev_device_get_subsystem(d);
        if (subsystem != nullptr && std::strcmp(subsystem, "input") == 0) {
          // A kernel node of a tablet being driven that came up after its
          // hidraw node.
          const std::string root = RootOf(d);
          if (action != nullptr && std::strcmp(action, "add") == 0 && !root.empty() &&
              std::any_of(devices_.begin(), devices_.end(), [&root](const Entry& e) { return e.root == root; })) {
            TakeKernelNode(root, d);
          }
          udev_device_unref(d);
          continue;
        }
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
