#pragma once
#include <array>
#include <string>

#include "mac/linux/LinuxEventPoster.h"

struct libevdev;
struct libevdev_uinput;

namespace penmac::linux_layer {

// The pen, keyboard and mouse that the driver's input comes from, created
// through /dev/uinput with libevdev.
//
// Names matter: GTK's X11 backend (GIMP, Inkscape) takes any device whose
// name holds "pen" or "wacom" for a pen, "eraser", "cursor" and " pad" for
// those tools; so only the pen's name says pen. The pen is on the USB bus
// with the tablet's ids, which is how libwacom finds its description (it
// knows no devices on the virtual bus).
class UinputDevices : public IVirtualInput {
 public:
  static constexpr const char* kPenName = "penmac pen";
  static constexpr const char* kKeyboardName = "Tablet 08F2:6811 keyboard";
  static constexpr const char* kMouseName = "Tablet 08F2:6811 mouse";
  static constexpr VirtualDevice kAll[] = {VirtualDevice::Pen, VirtualDevice::Keyboard, VirtualDevice::Mouse};
  static const char* Name(VirtualDevice device);

  UinputDevices() = default;
  ~UinputDevices() override;
  UinputDevices(const UinputDevices&) = delete;
  UinputDevices& operator=(const UinputDevices&) = delete;

  // Empty on success, otherwise what failed. `uinputPath` is normally
  // /dev/uinput.
  std::string Create(const std::string& uinputPath, const PenAxes& axes);
  // A pen device spanning another desktop, in place of the one there (its
  // axis ranges are fixed once the device exists). Let go of everything the
  // pen holds first. Empty on success.
  std::string RecreatePen(const std::string& uinputPath, const PenAxes& axes);
  // The /dev/input/event* node of a device, for messages.
  std::string DevNode(VirtualDevice device) const;

  void Emit(VirtualDevice device, uint16_t type, uint16_t code, int32_t value) override;
  void Sync(VirtualDevice device) override;

 private:
  std::array<libevdev_uinput*, 3> devices_{};
  std::array<int, 3> fds_{-1, -1, -1};  // ours to close after the devices go
  std::string CreateOne(size_t index, const std::string& uinputPath, const libevdev* from);
  void DestroyOne(size_t index);
};

}  // namespace penmac::linux_layer
