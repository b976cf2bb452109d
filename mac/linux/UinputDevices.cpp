#include "mac/linux/UinputDevices.h"

#include <fcntl.h>
#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>
#include <linux/input.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "mac/HIDMonitorData.h"
#include "mac/linux/LinuxKeyCodes.h"

namespace penmac::linux_layer {

namespace {

// Position units per millimetre at 96 points per inch and the pen's
// sub-point precision; tilt units per radian with tilt 1.0 near 64 degrees.
constexpr double kMillimetresPerPoint = 25.4 / 96;
constexpr int kTiltResolution = 57;

struct EvdevDeleter {
  void operator()(libevdev* d) const { libevdev_free(d); }
};
using Evdev = std::unique_ptr<libevdev, EvdevDeleter>;

Evdev NewDevice(VirtualDevice device, int product) {
  Evdev d(libevdev_new());
  libevdev_set_name(d.get(), UinputDevices::Name(device));
  libevdev_set_id_bustype(d.get(), device == VirtualDevice::Pen ? BUS_USB : BUS_VIRTUAL);
  libevdev_set_id_vendor(d.get(), static_cast<int>(kTabletVendorId));
  libevdev_set_id_product(d.get(), product);
  libevdev_set_id_version(d.get(), 1);
  return d;
}

void EnableAbs(libevdev* d, unsigned code, int min, int max, int resolution) {
  input_absinfo abs{};
  abs.minimum = min;
  abs.maximum = max;
  abs.resolution = resolution;
  libevdev_enable_event_code(d, EV_ABS, code, &abs);
}

Evdev PenDevice(const PenAxes& axes) {
  Evdev d = NewDevice(VirtualDevice::Pen, static_cast<int>(kTabletProductId));
  libevdev_enable_property(d.get(), INPUT_PROP_POINTER);
  libevdev_enable_event_type(d.get(), EV_ABS);
  const int resolution = static_cast<int>(axes.unitsPerPoint / kMillimetresPerPoint + 0.5);
  EnableAbs(d.get(), ABS_X, 0, axes.XMax(), resolution);
  EnableAbs(d.get(), ABS_Y, 0, axes.YMax(), resolution);
  EnableAbs(d.get(), ABS_PRESSURE, 0, axes.pressureMax, 0);
  EnableAbs(d.get(), ABS_TILT_X, -axes.tiltMax, axes.tiltMax, kTiltResolution);
  EnableAbs(d.get(), ABS_TILT_Y, -axes.tiltMax, axes.tiltMax, kTiltResolution);
  libevdev_enable_event_type(d.get(), EV_KEY);
  for (unsigned code : {BTN_TOOL_PEN, BTN_TOUCH, BTN_STYLUS, BTN_STYLUS2}) {
    libevdev_enable_event_code(d.get(), EV_KEY, code, nullptr);
  }
  return d;
}

Evdev KeyboardDevice() {
  Evdev d = NewDevice(VirtualDevice::Keyboard, 0x0001);
  libevdev_enable_event_type(d.get(), EV_KEY);
  for (uint16_t key : AllLinuxKeys()) libevdev_enable_event_code(d.get(), EV_KEY, key, nullptr);
  return d;
}

Evdev MouseDevice() {
  Evdev d = NewDevice(VirtualDevice::Mouse, 0x0002);
  libevdev_enable_event_type(d.get(), EV_KEY);
  for (unsigned code : {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE}) libevdev_enable_event_code(d.get(), EV_KEY, code, nullptr);
  // Desktops take a device for a pointer only when it can move.
  libevdev_enable_event_type(d.get(), EV_REL);
  for (unsigned code : {REL_X, REL_Y, REL_WHEEL, REL_WHEEL_HI_RES}) {
    libevdev_enable_event_code(d.get(), EV_REL, code, nullptr);
  }
  return d;
}

}  // namespace

const char* UinputDevices::Name(VirtualDevice device) {
  switch (device) {
    case VirtualDevice::Pen: return kPenName;
    case VirtualDevice::Keyboard: return kKeyboardName;
    case VirtualDevice::Mouse: return kMouseName;
  }
  return "";
}

UinputDevices::~UinputDevices() {
  for (size_t i = 0; i < devices_.size(); ++i) DestroyOne(i);
}

void UinputDevices::DestroyOne(size_t i) {
  if (devices_[i] != nullptr) libevdev_uinput_destroy(devices_[i]);
  if (fds_[i] >= 0) close(fds_[i]);
  devices_[i] = nullptr;
  fds_[i] = -1;
}

std::string UinputDevices::CreateOne(size_t i, const std::string& uinputPath, const libevdev* from) {
  const int fd = open(uinputPath.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return uinputPath + ": " + std::strerror(errno);
  fds_[i] = fd;
  const int rc = libevdev_uinput_create_from_device(from, fd, &devices_[i]);
  if (rc != 0) {
    devices_[i] = nullptr;
    return std::string("creating the device \"") + libevdev_get_name(from) + "\" on " + uinputPath + ": " +
           std::strerror(-rc);
  }
  return {};
}

std::string UinputDevices::Create(const std::string& uinputPath, const PenAxes& axes) {
  const Evdev templates[] = {PenDevice(axes), KeyboardDevice(), MouseDevice()};
  for (size_t i = 0; i < devices_.size(); ++i) {
    if (std::string error = CreateOne(i, uinputPath, templates[i].get()); !error.empty()) return error;
  }
  return {};
}

std::string UinputDevices::RecreatePen(const std::string& uinputPath, const PenAxes& axes) {
  const size_t pen = static_cast<size_t>(VirtualDevice::Pen);
  DestroyOne(pen);
  return CreateOne(pen, uinputPath, PenDevice(axes).get());
}

std::string UinputDevices::DevNode(VirtualDevice device) const {
  libevdev_uinput* d = devices_[static_cast<size_t>(device)];
  const char* node = d != nullptr ? libevdev_uinput_get_devnode(d) : nullptr;
  return node != nullptr ? node : "";
}

void UinputDevices::Emit(VirtualDevice device, uint16_t type, uint16_t code, int32_t value) {
  if (libevdev_uinput* d = devices_[static_cast<size_t>(device)]) libevdev_uinput_write_event(d, type, code, value);
}

void UinputDevices::Sync(VirtualDevice device) { Emit(device, EV_SYN, SYN_REPORT, 0); }

}  // namespace penmac::linux_layer
