#include "pipeline/VirtualTablet.h"

#include "common/Rounding.h"

#include <chrono>

namespace pen {

namespace {
constexpr uint16_t kVendorId = 0x08F2;
constexpr uint16_t kProductId = 0x6811;
// The tablet only accepts feature reports on its vendor interface.
constexpr size_t kFeatureBytes = 8;

// Device paths shaped like the system's, so that the device link's substring
// match sees what it sees on real hardware.
std::string MakePath(TabletInterface iface, unsigned generation) {
  const char* part = iface == TabletInterface::A ? "mi_02&col01" : "mi_01&col01";
  return std::string("\\\\?\\hid#vid_08f2&pid_6811&") + part + "#8&2b6f7e1&" + std::to_string(generation) +
         "&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
}
}  // namespace

// One interface of one plug-in of the virtual tablet. Once unplugged it stays
// dead; a later plug-in makes new devices, as the system does.
class TVirtualHidDevice : public IHidDevice {
 public:
  TVirtualHidDevice(TVirtualTablet& owner, TabletInterface iface, unsigned generation, const TabletIdentity& id)
      : owner_(owner), iface_(iface), path_(MakePath(iface, generation)), identity_(id) {}

  const std::string& Path() const override { return path_; }
  uint16_t VendorId() const override { return kVendorId; }
  uint16_t ProductId() const override { return kProductId; }
  uint16_t VersionNumber() const override { return identity_.version; }

  bool SetFeature(const uint8_t* data, size_t size) override {
    if (!present_.load() || iface_ != TabletInterface::A || data == nullptr || size != kFeatureBytes) return false;
    owner_.RecordFeature(data, size);
    return true;
  }

  std::string GetIndexedString(int index) override {
    // Descriptor 2 is the product string; the tablet has no others worth asking for.
    if (!present_.load() || index != 2) return {};
    return identity_.product;
  }

  void SetDataHandler(DataHandler handler) override {
    // Held for the length of a delivery, so clearing waits for one in flight.
    std::lock_guard<std::recursive_mutex> lock(deliverMutex_);
    handler_ = handler;
  }

  void Deliver(const uint8_t* report, size_t size) {
    std::lock_guard<std::recursive_mutex> lock(deliverMutex_);
    if (!present_.load() || !handler_ || size == 0) return;
    handler_(report + 1, size - 1);
  }

  TabletInterface Interface() const { return iface_; }
  bool checkedOut = false;  // under the tablet's mutex
  std::atomic<bool> present_{true};

 private:
  TVirtualTablet& owner_;
  TabletInterface iface_;
  std::string path_;
  TabletIdentity identity_;
  std::recursive_mutex deliverMutex_;
  DataHandler handler_;
};

TVirtualTablet::TVirtualTablet(ITickSource& ticks, IMainThread& mainThread) : ticks_(ticks), main_(mainThread) {
  Plug();
}

TVirtualTablet::~TVirtualTablet() {
  StopPlayback();
  std::lock_guard<std::mutex> lock(featureMutex_);
  if (featureLog_) std::fclose(featureLog_);
}

IHidDevice* TVirtualTablet::CheckOut(uint16_t vendorId, std::string_view pathPart, uint16_t productId) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (vendorId != kVendorId || productId != kProductId) return nullptr;
  // B is listed first (its path sorts first); the device link must not rely on the order.
  for (TVirtualHidDevice* d : {present_[1], present_[0]}) {
    if (d && !d->checkedOut && d->Path().find(pathPart) != std::string::npos) {
      d->checkedOut = true;
      return d;
    }
  }
  return nullptr;
}

void TVirtualTablet::CheckIn(IHidDevice* device) {
  TVirtualHidDevice* found = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& d : devices_) {
      if (d.get() == device) found = d.get();
    }
    if (!found || !found->checkedOut) return;
    found->checkedOut = false;
  }
  found->SetDataHandler({});
}

void TVirtualTablet::SetChangeHandler(Event<> handler) {
  onChange_ = handler;
  onChange_();
}

void TVirtualTablet::SetRemovalHandler(Event<IHidDevice*> handler) { onRemoval_ = handler; }

void TVirtualTablet::SetDirectDelivery(bool direct) { direct_.store(direct); }

void TVirtualTablet::Load(const TTabletRecording& recording) {
  StopPlayback();
  bool identityChanged = !(recording.identity == identity_);
  SetIdentity(recording.identity);
  session_ = recording;
  next_ = 0;
  if (recording.startUnplugged) {
    Unplug();
  } else {
    if (identityChanged) Unplug();
    Plug();
  }
}

void TVirtualTablet::SetIdentity(const TabletIdentity& identity) {
  std::lock_guard<std::mutex> lock(mutex_);
  identity_ = identity;
}

void TVirtualTablet::Plug() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (present_[0]) return;
    unsigned generation = static_cast<unsigned>(devices_.size() / 2 + 1);
    for (TabletInterface i : {TabletInterface::A, TabletInterface::B}) {
      devices_.push_back(std::make_unique<TVirtualHidDevice>(*this, i, generation, identity_));
      present_[static_cast<int>(i)] = devices_.back().get();
    }
  }
  onChange_();
}

void TVirtualTablet::Unplug() {
  TVirtualHidDevice* gone[2];
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!present_[0]) return;
    for (int i = 0; i < 2; ++i) {
      gone[i] = present_[i];
      gone[i]->present_.store(false);
      present_[i] = nullptr;
    }
  }
  for (TVirtualHidDevice* d : gone) onRemoval_(d);
  onChange_();
}

bool TVirtualTablet::Plugged() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return present_[0] != nullptr;
}

std::vector<ReceivedFeature> TVirtualTablet::FeatureReports() const {
  std::lock_guard<std::mutex> lock(featureMutex_);
  return features_;
}

bool TVirtualTablet::SetFeatureLog(const std::string& path) {
  std::lock_guard<std::mutex> lock(featureMutex_);
  if (featureLog_) std::fclose(featureLog_);
  featureLog_ = std::fopen(path.c_str(), "a");
  return featureLog_ != nullptr;
}

void TVirtualTablet::RecordFeature(const uint8_t* data, size_t size) {
  std::lock_guard<std::mutex> lock(featureMutex_);
  ReceivedFeature f{ticks_.TickCount(), std::vector<uint8_t>(data, data + size)};
  if (featureLog_) {
    std::fprintf(featureLog_, "%lu", static_cast<unsigned long>(f.tick));
    for (uint8_t b : f.bytes) std::fprintf(featureLog_, " %02X", b);
    std::fputc('\n', featureLog_);
    // A test reads the file while the host still runs.
    std::fflush(featureLog_);
  }
  features_.push_back(std::move(f));
}

bool TVirtualTablet::HasNextStep() const { return !player_.joinable() && next_ < session_.steps.size(); }

uint32_t TVirtualTablet::NextStepDelay() const { return HasNextStep() ? session_.steps[next_].delayMs : 0; }

bool TVirtualTablet::RunNextStep() {
  if (!HasNextStep()) return false;
  PerformStep(session_.steps[next_++], true);
  return true;
}

void TVirtualTablet::PerformStep(const SessionStep& step, bool onMainThread) {
  if (step.kind == SessionStep::Kind::Wait) return;
  if (step.kind == SessionStep::Kind::Report && (onMainThread || direct_.load())) {
    Deliver(step);
    return;
  }
  if (!onMainThread) {
    invoked_ = &step;
    main_.Invoke(Event<>::Bind<&TVirtualTablet::OnInvokedStep>(this));
    return;
  }
  if (step.kind == SessionStep::Kind::Plug) Plug();
  if (step.kind == SessionStep::Kind::Unplug) Unplug();
  if (step.kind == SessionStep::Kind::Report) Deliver(step);
}

void TVirtualTablet::OnInvokedStep() {
  // A stop that is waiting for the player must not be overtaken by its step.
  if (stop_.load() || !invoked_) return;
  PerformStep(*invoked_, true);
}

void TVirtualTablet::Deliver(const SessionStep& step) {
  TVirtualHidDevice* device;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    device = present_[static_cast<int>(step.iface)];
  }
  // Devices live as long as the tablet, so the pointer stays valid.
  if (device) device->Deliver(step.bytes.data(), step.size);
}

void TVirtualTablet::StartPlayback() {
  StopPlayback();
  stop_.store(false);
  finished_.store(false);
  player_ = std::thread(&TVirtualTablet::PlaybackLoop, this);
}

void TVirtualTablet::StopPlayback() {
  if (!player_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(playMutex_);
    stop_.store(true);
  }
  playWake_.notify_all();
  main_.WaitServing(finished_);
  player_.join();
  stop_.store(false);
}

void TVirtualTablet::PlaybackLoop() {
  EnsureExtendedPrecision();
  using Clock = std::chrono::steady_clock;
  // Deadlines add up from the start, so slow handlers do not stretch the session.
  Clock::time_point due = Clock::now();
  while (next_ < session_.steps.size()) {
    const SessionStep& step = session_.steps[next_];
    due += std::chrono::milliseconds(step.delayMs);
    {
      std::unique_lock<std::mutex> lock(playMutex_);
      if (playWake_.wait_until(lock, due, [this] { return stop_.load(); })) break;
    }
    ++next_;
    PerformStep(step, false);
  }
  finished_.store(true);
}

}  // namespace pen
