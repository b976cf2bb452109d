#pragma once
// Fakes of the platform ports of penmac's core, and a rig that builds the
// model on them. Header-only; shared by the core's tests.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "mac/Alerts.h"
#include "mac/ConfigFolder.h"
#include "mac/HidManager.h"
#include "mac/MainRunLoop.h"
#include "mac/NotificationCenter.h"
#include "mac/RecordingPoster.h"
#include "mac/ScreenLayout.h"
#include "mac/USBDelegate.h"
#include "pipeline/ReportEncoder.h"

namespace penmac::test {

// A HID manager whose loop runs the actions the test hands it, on the
// manager's own thread, as the platform's callbacks would arrive.
class FakeHidManager : public IHidManager {
 public:
  std::vector<HIDMonitorData> matching;
  IHidManagerClient* client = nullptr;
  int opened = 0;

  void SetDeviceMatchingMultiple(std::span<const HIDMonitorData> m) override { matching.assign(m.begin(), m.end()); }
  int Open() override {
    ++opened;
    return 0;
  }
  void RegisterCallbacks(IHidManagerClient* c) override { client = c; }
  void Run() override {
    std::unique_lock lock(mutex_);
    running_ = true;
    changed_.notify_all();
    for (;;) {
      changed_.wait(lock, [this] { return stop_ || !actions_.empty(); });
      if (stop_) return;
      auto action = std::move(actions_.front());
      actions_.pop_front();
      lock.unlock();
      action();
      lock.lock();
      ++done_;
      changed_.notify_all();
    }
  }
  void Stop() override {
    std::lock_guard lock(mutex_);
    stop_ = true;
    changed_.notify_all();
  }
  // Runs `action` on the manager's thread and waits until it has run.
  void OnManagerThread(std::function<void()> action) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return running_; });
    const uint64_t ticket = ++queued_;
    actions_.push_back(std::move(action));
    changed_.notify_all();
    changed_.wait(lock, [this, ticket] { return done_ >= ticket || stop_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> actions_;
  uint64_t queued_ = 0;
  uint64_t done_ = 0;
  bool running_ = false;
  bool stop_ = false;
};

// A device with a table of properties; remembers what was sent to it.
class FakeHidDevice : public IHidDeviceRef {
 public:
  std::map<std::string, HidPropertyValue, std::less<>> properties;
  struct SentReport {
    HidReportType type;
    uint32_t id;
    std::vector<uint8_t> bytes;
  };
  std::vector<SentReport> sent;
  uint8_t* buffer = nullptr;
  size_t size = 0;
  IHidManagerClient* client = nullptr;

  HidPropertyValue GetProperty(std::string_view key) const override {
    const auto it = properties.find(key);
    return it == properties.end() ? HidPropertyValue{} : it->second;
  }
  int SetReport(HidReportType type, uint32_t id, const uint8_t* report, size_t length) override {
    sent.push_back({type, id, std::vector<uint8_t>(report, report + length)});
    return 0;
  }
  void RegisterInputReportCallback(uint8_t* b, size_t s, IHidManagerClient* c) override {
    buffer = b;
    size = s;
    client = c;
  }
  // An input report as the platform delivers it: into the registered buffer.
  void Send(const std::vector<uint8_t>& report) {
    const size_t n = report.size() < size ? report.size() : size;
    std::copy_n(report.begin(), n, buffer);
    client->read(0, this, HidReportType::Input, n ? buffer[0] : 0, buffer, n);
  }

  static std::shared_ptr<FakeHidDevice> Tablet(std::string product = "[R711]Pen Tablet", int64_t version = 0x2201) {
    auto d = std::make_shared<FakeHidDevice>();
    d->properties[std::string(hid_property::kVendorId)] = int64_t{0x08F2};
    d->properties[std::string(hid_property::kProductId)] = int64_t{0x6811};
    d->properties[std::string(hid_property::kProduct)] = std::move(product);
    d->properties[std::string(hid_property::kVersionNumber)] = version;
    d->properties[std::string(hid_property::kMaxInputReportSize)] = int64_t{15};
    d->properties[std::string(hid_property::kLocationId)] = std::string("/dev/hidraw0");
    return d;
  }
};

class CountingWaker : public IMainQueueWaker {
 public:
  std::atomic<int> wakes{0};
  void Wake() override { ++wakes; }
};

class FakeRunLoop : public IMainRunLoop {
 public:
  double seconds = 0;
  int scheduled = 0;
  std::function<void()> tick;
  void ScheduleRepeatingTimer(double s, std::function<void()> t) override {
    ++scheduled;
    seconds = s;
    tick = std::move(t);
  }
};

// Files in memory; any operation can be made to fail.
class MemoryFolder : public IConfigFolder {
 public:
  std::map<std::string, std::string, std::less<>> files;
  bool failReads = false;
  bool failWrites = false;
  bool failMoves = false;
  std::vector<std::string> written;  // names, in order

  FileResult Read(std::string_view name, std::string& contents) override {
    if (failReads) return {FileResult::Status::Failed, "Cannot read " + std::string(name) + ": Permission denied"};
    const auto it = files.find(name);
    if (it == files.end()) return {FileResult::Status::NotFound, "No file"};
    contents = it->second;
    return {};
  }
  FileResult Write(std::string_view name, std::string_view contents) override {
    if (failWrites) return {FileResult::Status::Failed, "Cannot write " + std::string(name) + ": Read-only file system"};
    files[std::string(name)] = std::string(contents);
    written.emplace_back(name);
    return {};
  }
  FileResult MoveAside(std::string_view name, std::string_view backup) override {
    const auto it = files.find(name);
    if (it == files.end()) return {FileResult::Status::NotFound, "No file"};
    if (failMoves) return {FileResult::Status::Failed, "Cannot move aside " + std::string(name) + ": Busy"};
    files[std::string(backup)] = it->second;
    files.erase(it);
    return {};
  }
};

class RecordingAlerts : public IAlerts {
 public:
  std::vector<Alert> shown;
  int Show(const Alert& alert) override {
    shown.push_back(alert);
    return 0;
  }
};

inline ScreenLayout OneScreen() { return *ScreenLayout::Parse("1920x1080"); }

// One input report of the tablet by its fields (tiltB is penmac's tilt x,
// tiltA its tilt y), in the middle of the tablet with the pen hovering and
// no key held unless a test says otherwise.
struct TabletReport : pen::DigitizerSample {
  TabletReport() {
    x = 2048;
    y = 2048;
    rawPressure = 1800;
  }
  // Report ID first, as the HID layer delivers it.
  std::vector<uint8_t> Bytes() const {
    const auto bytes = pen::EncodeDigitizerReport(*this);
    return {bytes.begin(), bytes.end()};
  }
};

inline Notification DataNotification(const std::vector<uint8_t>& bytes) {
  Notification n{HIDDeviceDataReceived, DataEntry{}};
  std::get<DataEntry>(n.object).data.Assign(bytes.data(), bytes.size());
  return n;
}

// The fakes a model runs on.
struct DelegateFakes {
  FakeHidManager hid;
  CountingWaker waker;
  NotificationCenter center{waker};
  FakeRunLoop loop;
  RecordingPoster poster;
  ScreenLayout screens = OneScreen();
  MemoryFolder files;
  RecordingAlerts alerts;
  USBDelegatePorts Ports() { return USBDelegatePorts{hid, center, loop, poster, screens, files, alerts}; }
};

// The model on fakes. Reports and plug-ins go straight to the handlers, as
// the main queue would deliver them.
struct DelegateRig : DelegateFakes {
  USBDelegate delegate{Ports()};

  explicit DelegateRig(int64_t version = 0x2201) { Plug("[R711]Pen Tablet", version); }

  void Plug(const std::string& name, int64_t version) {
    delegate.onPlugin(Notification{HIDDeviceConnected, DeviceEntry{HIDDevice(FakeHidDevice::Tablet(name, version))}});
  }
  void Send(const TabletReport& r) { delegate.onData(DataNotification(r.Bytes())); }
  void Tick() { loop.tick(); }
  // Records posted since the last call.
  std::vector<EventRecord> Take() {
    std::vector<EventRecord> out;
    for (size_t i = 0; i < poster.Held(); ++i) out.push_back(poster.At(i));
    poster.Clear();
    return out;
  }
};

}  // namespace penmac::test
