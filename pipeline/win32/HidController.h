#pragma once
#include <windows.h>

#include <cstdint>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "pipeline/HidDevice.h"

namespace pen::win32 {

class TWin32HidDevice;

// The HID access layer over SetupAPI and HID.dll. Create it on the main
// thread: it owns a hidden message-only window there that receives device
// arrival and removal, and through which reports reach the main thread until
// direct delivery is switched on.
class THidController : public IHidController {
 public:
  struct DeviceInfo {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
  };

  THidController();
  ~THidController() override;
  THidController(const THidController&) = delete;
  THidController& operator=(const THidController&) = delete;

  IHidDevice* CheckOut(uint16_t vendorId, std::string_view pathPart, uint16_t productId) override;
  void CheckIn(IHidDevice* device) override;
  void SetChangeHandler(Event<> handler) override;
  void SetRemovalHandler(Event<IHidDevice*> handler) override;
  void SetDirectDelivery(bool direct) override;
  bool DirectDelivery() const;

  // Enumerates again, raising removal for devices that left, then change.
  // WM_DEVICECHANGE does this by itself. `removedPath` names a device the
  // system reported removed: it counts as gone even when it is back already
  // (pulled and plugged again before the notice was handled), so that the
  // device link drops its dead handle and opens the new device.
  void Rescan(const std::string& removedPath = {});
  // What the last enumeration found.
  std::vector<DeviceInfo> Devices() const;
  // The hidden window (for tests and for the read threads' hand-over).
  HWND Window() const { return window_; }
  // True when device notifications were registered for the HID class.
  bool NotificationsRegistered() const { return notify_ != nullptr; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Enumerate(const std::string& removedPath);

  HWND window_ = nullptr;
  HDEVNOTIFY notify_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<TWin32HidDevice>> devices_;   // present, in enumeration order
  std::vector<std::unique_ptr<TWin32HidDevice>> gone_;      // left while checked out
  std::vector<std::unique_ptr<TWin32HidDevice>> retired_;   // left, freed after the removal event
  Event<> onChange_;
  Event<IHidDevice*> onRemoval_;
};

}  // namespace pen::win32
