#include "app/penmac/Preflight.h"

#include <fcntl.h>
#include <libudev.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "mac/HIDMonitorData.h"
#include "mac/linux/UdevHid.h"

namespace penmac::linux_layer {

namespace {
constexpr const char* kRuleAdvice =
    "Install the udev rule that gives the logged-in user access to the tablet and to /dev/uinput:\n"
    "  sudo install -m 644 app/penmac/dist/60-penmac.rules /etc/udev/rules.d/\n"
    "  sudo udevadm control --reload && sudo udevadm trigger\n"
    "then unplug the tablet and plug it in again (see the README, \"Installing on Linux\").";
}  // namespace

TabletCheck CheckTablet() {
  TabletCheck check;
  udev* context = udev_new();
  if (context == nullptr) return check;
  const HIDMonitorData tablet{kTabletVendorId, kTabletProductId, std::nullopt, std::nullopt};
  for (const HidrawInfo& info : EnumerateMatchingHidraw(context, {&tablet, 1})) {
    const int fd = open(info.devnode.c_str(), O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
      close(fd);
      check = TabletCheck{TabletCheck::Status::Found, info.devnode, 0};
      break;
    }
    check = TabletCheck{TabletCheck::Status::NoAccess, info.devnode, errno};
  }
  udev_unref(context);
  return check;
}

std::string CheckUinput(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return path + ": " + std::strerror(errno);
  close(fd);
  return {};
}

std::string NoTabletMessage() {
  return "penmac: no tablet (USB 08F2:6811) found. Plug it in, or start with --wait to wait for it.";
}

std::string NoHidrawAccessMessage(const TabletCheck& check) {
  return "penmac: the tablet is at " + check.devnode + ", but it cannot be opened (" + std::strerror(check.error) +
         ").\n" + kRuleAdvice;
}

std::string NoGrabMessage(const std::string& devnode, int error) {
  return "penmac: the kernel's own input device of the tablet, " + devnode + ", cannot be held (" +
         std::strerror(error) + "): the desktop may see the tablet a second time, as a plain pointer.\n" + kRuleAdvice;
}

std::string NoUinputMessage(const std::string& error) {
  return "penmac: cannot post input through uinput (" + error +
         "). The uinput module must be loaded (sudo modprobe uinput).\n" + kRuleAdvice;
}

}  // namespace penmac::linux_layer
