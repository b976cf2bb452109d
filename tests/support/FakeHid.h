#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "pipeline/HidDevice.h"

namespace pen::test {

// One HID collection in memory: answers feature reports as told, keeps every
// report it was sent (with the tick it arrived), and plays input reports into
// its data handler on the caller's thread.
class FakeHidDevice : public IHidDevice {
 public:
  struct Feature {
    uint32_t tick = 0;
    std::vector<uint8_t> bytes;
  };

  FakeHidDevice(std::string path, uint16_t vendorId, uint16_t productId, uint16_t version = 0x0100)
      : path_(std::move(path)), vendorId_(vendorId), productId_(productId), version_(version) {}

  // Feature reports are accepted unless `rejectFeatures` is non-zero: each
  // rejected report counts it down (negative: reject all).
  int rejectFeatures = 0;
  // Answers of successive string descriptor reads; the last one repeats.
  std::deque<std::string> productReads{"Pen Tablet"};
  int stringReads = 0;
  int handlerStarts = 0;
  int handlerStops = 0;
  std::vector<Feature> features;
  ITickSource* ticks = nullptr;

  const std::string& Path() const override { return path_; }
  uint16_t VendorId() const override { return vendorId_; }
  uint16_t ProductId() const override { return productId_; }
  uint16_t VersionNumber() const override { return version_; }

  bool SetFeature(const uint8_t* data, size_t size) override {
    features.push_back({ticks ? ticks->TickCount() : 0, std::vector<uint8_t>(data, data + size)});
    if (rejectFeatures == 0) return true;
    if (rejectFeatures > 0) --rejectFeatures;
    return false;
  }

  std::string GetIndexedString(int index) override {
    ++stringReads;
    if (index != 2 || productReads.empty()) return {};
    std::string s = productReads.front();
    if (productReads.size() > 1) productReads.pop_front();
    return s;
  }

  void SetDataHandler(DataHandler handler) override {
    if (handler) {
      ++handlerStarts;
    } else if (handler_) {
      ++handlerStops;
    }
    handler_ = handler;
  }
  bool Reading() const { return static_cast<bool>(handler_); }

  // An input report as read from the device, report ID first.
  void Deliver(const std::vector<uint8_t>& report) {
    if (!report.empty()) handler_(report.data() + 1, report.size() - 1);
  }

 private:
  std::string path_;
  uint16_t vendorId_;
  uint16_t productId_;
  uint16_t version_;
  DataHandler handler_;
};

// The HID access layer in memory: devices are plugged and unplugged by the
// test; check-out follows the real rules (first match, not yet in use).
class FakeHidController : public IHidController {
 public:
  static constexpr uint16_t kTabletVendor = 0x08F2;
  static constexpr uint16_t kTabletProduct = 0x6811;

  bool directDelivery = false;
  std::vector<IHidDevice*> checkedIn;
  int changeEvents = 0;

  FakeHidDevice& Add(std::string path, uint16_t vendorId = kTabletVendor, uint16_t productId = kTabletProduct,
                     uint16_t version = 0x0100) {
    devices_.push_back(std::make_unique<FakeHidDevice>(std::move(path), vendorId, productId, version));
    return *devices_.back();
  }
  // The tablet's two interfaces, as Windows names them.
  FakeHidDevice& AddInterfaceA(uint16_t version = 0x0100) {
    return Add("\\\\?\\hid#vid_08f2&pid_6811&mi_02&col01#7&1a&0&0000#{4d1e55b2}", kTabletVendor, kTabletProduct,
               version);
  }
  FakeHidDevice& AddInterfaceB(uint16_t version = 0x0100) {
    return Add("\\\\?\\hid#vid_08f2&pid_6811&mi_01&col01#7&2b&0&0000#{4d1e55b2}", kTabletVendor, kTabletProduct,
               version);
  }

  void Arrive() {
    ++changeEvents;
    onChange_();
  }
  // Removal of one device, then the change event. As in the real layers a
  // device that leaves stays checked out (its handle and reader held) until
  // the code under test checks it in. The object stays alive so that stale
  // pointers in the code under test are caught by ASan as logic errors
  // rather than crashes in the fake.
  void Leave(FakeHidDevice& device) {
    auto it = std::find_if(devices_.begin(), devices_.end(), [&](auto& d) { return d.get() == &device; });
    if (it != devices_.end()) {
      gone_.push_back(std::move(*it));
      devices_.erase(it);
    }
    onRemoval_(&device);
    Arrive();
  }

  bool InUse(const IHidDevice& device) const {
    return std::find(inUse_.begin(), inUse_.end(), &device) != inUse_.end();
  }
  // Devices that left but were never checked in: what a long run leaks.
  size_t HeldAfterRemoval() const {
    size_t n = 0;
    for (auto& d : gone_) n += InUse(*d) ? 1 : 0;
    return n;
  }
  size_t CheckIns(const IHidDevice& device) const {
    return static_cast<size_t>(std::count(checkedIn.begin(), checkedIn.end(), &device));
  }

  IHidDevice* CheckOut(uint16_t vendorId, std::string_view pathPart, uint16_t productId) override {
    for (auto& d : devices_) {
      if (InUse(*d) || d->VendorId() != vendorId || d->ProductId() != productId) continue;
      if (d->Path().find(pathPart) == std::string::npos) continue;
      inUse_.push_back(d.get());
      return d.get();
    }
    return nullptr;
  }
  void CheckIn(IHidDevice* device) override {
    checkedIn.push_back(device);
    inUse_.erase(std::remove(inUse_.begin(), inUse_.end(), device), inUse_.end());
  }
  void SetChangeHandler(Event<> handler) override {
    onChange_ = handler;
    Arrive();
  }
  void SetRemovalHandler(Event<IHidDevice*> handler) override { onRemoval_ = handler; }
  void SetDirectDelivery(bool direct) override { directDelivery = direct; }

 private:
  std::vector<std::unique_ptr<FakeHidDevice>> devices_;
  std::vector<std::unique_ptr<FakeHidDevice>> gone_;
  std::vector<IHidDevice*> inUse_;
  Event<> onChange_;
  Event<IHidDevice*> onRemoval_;
};

}  // namespace pen::test
