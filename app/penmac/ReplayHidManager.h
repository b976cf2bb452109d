#pragma once
#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "mac/HidManager.h"
#include "pipeline/TabletRecording.h"

namespace penmac::linux_layer {

// A recorded pen session in place of the HID devices: the tablet's two
// interfaces arrive, send the recorded reports at their recorded times and
// leave, on the thread that runs the manager, exactly as a real tablet's
// would. After the last step the manager idles until stopped.
class ReplayHidManager : public IHidManager {
 public:
  explicit ReplayHidManager(pen::TTabletRecording recording);
  ~ReplayHidManager() override;

  void SetDeviceMatchingMultiple(std::span<const HIDMonitorData> matching) override;
  int Open() override { return 0; }
  void RegisterCallbacks(IHidManagerClient* client) override { client_ = client; }
  void Run() override;
  void Stop() override;

  // Each feature report the replayed tablet receives, as hex text.
  std::function<void(const std::string& bytes)> onFeatureReport;

 private:
  class Device;
  void Plug();
  void Unplug();
  bool SleepUntil(std::chrono::steady_clock::time_point when);

  pen::TTabletRecording recording_;
  std::vector<HIDMonitorData> matching_;
  IHidManagerClient* client_ = nullptr;
  std::array<std::shared_ptr<Device>, 2> devices_;
  bool plugged_ = false;
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;
};

}  // namespace penmac::linux_layer
