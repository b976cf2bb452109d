#include "app/penmac/ReplayHidManager.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace penmac::linux_layer {

// One interface of the replayed tablet.
class ReplayHidManager::Device : public IHidDeviceRef {
 public:
  Device(const ReplayHidManager& owner, const char* interfaceName) : owner_(owner), interface_(interfaceName) {}

  HidPropertyValue GetProperty(std::string_view key) const override {
    namespace p = hid_property;
    const pen::TabletIdentity& id = owner_.recording_.identity;
    if (key == p::kLocationId) return std::string("replay:") + interface_;
    if (key == p::kVendorId) return kTabletVendorId;
    if (key == p::kProductId) return kTabletProductId;
    if (key == p::kProduct) return id.product;
    if (key == p::kVersionNumber) return static_cast<int64_t>(id.version);
    if (key == p::kMaxInputReportSize) return int64_t{pen::SessionStep::kMaxReport};
    return std::monostate{};
  }

  int SetReport(HidReportType type, uint32_t, const uint8_t* report, size_t length) override {
    if (type != HidReportType::Feature || report == nullptr) return -1;
    if (owner_.onFeatureReport) {
      std::string hex;
      char byte[4];
      for (size_t i = 0; i < length; ++i) {
        std::snprintf(byte, sizeof byte, i ? " %02X" : "%02X", report[i]);
        hex += byte;
      }
      owner_.onFeatureReport(hex);
    }
    return 0;
  }

  void RegisterInputReportCallback(uint8_t* buffer, size_t size, IHidManagerClient* client) override {
    buffer_ = buffer;
    size_ = size;
    client_ = client;
  }

  void Deliver(const uint8_t* bytes, size_t length) {
    if (client_ == nullptr || buffer_ == nullptr) return;
    const size_t n = length < size_ ? length : size_;
    std::copy_n(bytes, n, buffer_);
    client_->read(0, this, HidReportType::Input, n > 0 ? buffer_[0] : 0, buffer_, n);
  }

  void Unregister() { client_ = nullptr; }

 private:
  const ReplayHidManager& owner_;
  const char* interface_;
  uint8_t* buffer_ = nullptr;
  size_t size_ = 0;
  IHidManagerClient* client_ = nullptr;
};

ReplayHidManager::ReplayHidManager(pen::TTabletRecording recording) : recording_(std::move(recording)) {}

ReplayHidManager::~ReplayHidManager() = default;

void ReplayHidManager::SetDeviceMatchingMultiple(std::span<const HIDMonitorData> matching) {
  matching_.assign(matching.begin(), matching.end());
}

void ReplayHidManager::Plug() {
  if (plugged_ || !MatchesAny(matching_, kTabletVendorId, kTabletProductId, {})) return;
  plugged_ = true;
  devices_[0] = std::make_shared<Device>(*this, "A");
  devices_[1] = std::make_shared<Device>(*this, "B");
  for (const auto& d : devices_) {
    if (client_ != nullptr) client_->rawDeviceAdded(0, this, d);
  }
}

void ReplayHidManager::Unplug() {
  if (!plugged_) return;
  plugged_ = false;
  for (auto& d : devices_) {
    d->Unregister();
    if (client_ != nullptr) client_->rawDeviceRemoved(0, this, d);
    d.reset();
  }
}

bool ReplayHidManager::SleepUntil(std::chrono::steady_clock::time_point when) {
  std::unique_lock lock(mutex_);
  stopped_.wait_until(lock, when, [this] { return stop_; });
  return !stop_;
}

void ReplayHidManager::Run() {
  if (!recording_.startUnplugged) Plug();
  // Steps keep to the recording's clock: a late step does not delay the
  // ones after it.
  auto when = std::chrono::steady_clock::now();
  for (const pen::SessionStep& step : recording_.steps) {
    when += std::chrono::milliseconds(step.delayMs);
    if (!SleepUntil(when)) break;
    switch (step.kind) {
      case pen::SessionStep::Kind::Report:
        if (plugged_) devices_[step.iface == pen::TabletInterface::A ? 0 : 1]->Deliver(step.bytes.data(), step.size);
        break;
      case pen::SessionStep::Kind::Plug: Plug(); break;
      case pen::SessionStep::Kind::Unplug: Unplug(); break;
      case pen::SessionStep::Kind::Wait: break;
    }
  }
  std::unique_lock lock(mutex_);
  stopped_.wait(lock, [this] { return stop_; });
}

void ReplayHidManager::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  stopped_.notify_all();
}

}  // namespace penmac::linux_layer
