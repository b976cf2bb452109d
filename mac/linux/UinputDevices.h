#pragma once
#include <array>
#include <string>

#include "mac/linux/LinuxEventPoster.h"

struct libevdev_uinput;

namespace penmac::linux_layer {

// The pen, keyboard and mouse that the driver's input comes from, created
// through /dev/uinput with libevdev. Their names are "penmac pen",
// "penmac keyboard" and "penmac mouse".
class UinputDevices : public IVirtualInput {
 public:
  static constexpr const char* kPenName = "penmac pen";
  static constexpr const char* kKeyboardName = "penmac keyboard";
  static constexpr const char* kMouseName = "penmac mouse";

  UinputDevices() = default;
  ~UinputDevices() override;
  UinputDevices(const UinputDevices&) = delete;
  UinputDevices& operator=(const UinputDevices&) = delete;

  // Empty on success, otherwise what failed. `uinputPath` is normally
  // /dev/uinput.
  std::string Create(const std::string& uinputPath, const PenAxes& axes);
  // The /dev/input/event* node of a device, for messages.
  std::string DevNode(VirtualDevice device) const;

  void Emit(VirtualDevice device, uint16_t type, uint16_t code, int32_t value) override;
  void Sync(VirtualDevice device) override;

 private:
  std::array<libevdev_uinput*, 3> devices_{};
  std::array<int, 3> fds_{-1, -1, -1};  // ours to close after the devices go
};

}  // namespace penmac::linux_layer
