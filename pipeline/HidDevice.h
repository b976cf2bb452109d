#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/Event.h"

namespace pen {

// What the device link needs of one HID collection of the tablet.
class IHidDevice {
 public:
  virtual ~IHidDevice() = default;
  virtual const std::string& Path() const = 0;
  virtual uint16_t VendorId() const = 0;
  virtual uint16_t ProductId() const = 0;
  virtual uint16_t VersionNumber() const = 0;
  // Feature report, report ID in byte 0.
  virtual bool SetFeature(const uint8_t* data, size_t size) = 0;
  // USB string descriptor `index` as ANSI text; empty when it cannot be read.
  virtual std::string GetIndexedString(int index) = 0;
  // Starts the device's read thread: each input report of n > 0 bytes arrives
  // as (data after the report ID, n - 1). An empty handler stops the thread
  // and waits for it.
  using DataHandler = Event<const uint8_t*, size_t>;
  virtual void SetDataHandler(DataHandler handler) = 0;
};

// Enumeration, check-out and arrival/removal notification.
class IHidController {
 public:
  virtual ~IHidController() = default;
  // The first enumerated device not checked out whose path contains
  // `pathPart` (exact, case-sensitive) and whose IDs match; marked in use.
  virtual IHidDevice* CheckOut(uint16_t vendorId, std::string_view pathPart, uint16_t productId) = 0;
  // Closes the device's handles and returns it to the controller.
  virtual void CheckIn(IHidDevice* device) = 0;
  // Raised after devices arrive or leave, and once when installed.
  virtual void SetChangeHandler(Event<> handler) = 0;
  // Raised with the device that left, before the change event.
  virtual void SetRemovalHandler(Event<IHidDevice*> handler) = 0;
  // Until set, reports are handed to the main thread and waited for; from
  // then on the data handlers run on the read threads.
  virtual void SetDirectDelivery(bool direct) = 0;
};

}  // namespace pen
