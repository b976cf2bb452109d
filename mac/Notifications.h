#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>

#include "mac/HIDDevice.h"

// The three notifications between the HID thread and the application, and
// the center that carries them to observers on the main queue.
namespace penmac {

inline constexpr std::string_view HIDDeviceConnected = "HIDDeviceConnected";
inline constexpr std::string_view HIDDeviceDisconnected = "HIDDeviceDisconnected";
inline constexpr std::string_view HIDDeviceDataReceived = "HIDDeviceDataReceived";

// A copy of one input report, report-ID byte first. Held by value, so
// handing a report over never allocates.
struct ReportBytes {
  static constexpr size_t kCapacity = 64;
  std::array<uint8_t, kCapacity> bytes{};
  size_t length = 0;

  void Assign(const uint8_t* data, size_t size) {
    length = size < kCapacity ? size : kCapacity;
    for (size_t i = 0; i < length; ++i) bytes[i] = data[i];
  }
  const uint8_t* data() const { return bytes.data(); }
  size_t size() const { return length; }
};

// The notification objects: dictionaries with one entry each.
struct DeviceEntry {  // "device" -> the HIDDevice
  HIDDevice device;
};
struct IdEntry {  // "id" -> the removed device's id
  std::string id;
};
struct DataEntry {  // "data" -> one report
  ReportBytes data;
};
using NotificationObject = std::variant<std::monostate, DeviceEntry, IdEntry, DataEntry>;

struct Notification {
  std::string_view name;
  NotificationObject object;
};

using ObserverToken = uint64_t;

class INotificationCenter {
 public:
  virtual ~INotificationCenter() = default;
  // The handler runs on the main thread, later, for each notification of
  // that name posted from then on. Main thread only.
  virtual ObserverToken AddObserverOnMainQueue(std::string_view name,
                                               std::function<void(const Notification&)> handler) = 0;
  virtual void RemoveObserver(ObserverToken token) = 0;
  // Any thread.
  virtual void Post(Notification notification) = 0;
};

}  // namespace penmac
