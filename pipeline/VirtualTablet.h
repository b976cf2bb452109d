#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/Clock.h"
#include "pipeline/HidDevice.h"
#include "pipeline/MainThread.h"
#include "pipeline/TabletRecording.h"

namespace pen {

class TVirtualHidDevice;

// A feature report as the tablet received it.
struct ReceivedFeature {
  uint32_t tick = 0;
  std::vector<uint8_t> bytes;
};

// A tablet without hardware: an IHidController that shows the tablet's two
// interfaces (vendor 0x08F2, product 0x6811, paths with "mi_02&col01" and
// "mi_01&col01"), can be plugged and unplugged while running, keeps every
// feature report it is sent and plays pen sessions into the read handlers.
//
// Host use: construct, Load a recording (or the demonstration), optionally
// SetFeatureLog, hand it to the device link, then StartPlayback. Tests drive
// the same session one step at a time with RunNextStep instead.
class TVirtualTablet : public IHidController {
 public:
  TVirtualTablet(ITickSource& ticks, IMainThread& mainThread);
  ~TVirtualTablet() override;
  TVirtualTablet(const TVirtualTablet&) = delete;
  TVirtualTablet& operator=(const TVirtualTablet&) = delete;

  // IHidController
  IHidDevice* CheckOut(uint16_t vendorId, std::string_view pathPart, uint16_t productId) override;
  void CheckIn(IHidDevice* device) override;
  void SetChangeHandler(Event<> handler) override;
  void SetRemovalHandler(Event<IHidDevice*> handler) override;
  void SetDirectDelivery(bool direct) override;
  bool DirectDelivery() const { return direct_.load(); }

  // Identity and initial plug state come from the recording; call before the
  // device link sees the tablet. Stops any playback running.
  void Load(const TTabletRecording& recording);
  // Identity for devices plugged from now on.
  void SetIdentity(const TabletIdentity& identity);

  // Main thread. Plug raises the change event; Unplug raises the removal
  // event for each interface, then the change event.
  void Plug();
  void Unplug();
  bool Plugged() const;

  // Every feature report received, in order. Also appended to `path` (one
  // line per report: tick in ms, then the bytes in hex) when a log is set;
  // false when the file cannot be opened.
  std::vector<ReceivedFeature> FeatureReports() const;
  bool SetFeatureLog(const std::string& path);

  // Deterministic playback, on the main thread: performs the next step of
  // the loaded session at once (its delay is the caller's business).
  bool HasNextStep() const;
  uint32_t NextStepDelay() const;
  bool RunNextStep();

  // Real-time playback on a thread of its own. Plug and unplug steps, and
  // reports before direct delivery, run on the main thread through
  // IMainThread. StopPlayback (main thread) returns once the thread is gone.
  void StartPlayback();
  void StopPlayback();
  bool PlaybackFinished() const { return finished_.load(); }

 private:
  friend class TVirtualHidDevice;
  void PerformStep(const SessionStep& step, bool onMainThread);
  void Deliver(const SessionStep& step);
  void OnInvokedStep();
  void PlaybackLoop();
  void RecordFeature(const uint8_t* data, size_t size);

  ITickSource& ticks_;
  IMainThread& main_;
  mutable std::mutex mutex_;
  TabletIdentity identity_;
  std::vector<std::unique_ptr<TVirtualHidDevice>> devices_;  // every device ever plugged
  TVirtualHidDevice* present_[2] = {nullptr, nullptr};       // A, B while plugged
  Event<> onChange_;
  Event<IHidDevice*> onRemoval_;
  std::atomic<bool> direct_{false};

  TTabletRecording session_;
  size_t next_ = 0;
  const SessionStep* invoked_ = nullptr;

  // Apart from mutex_, so that a slow log file never holds up report delivery.
  mutable std::mutex featureMutex_;
  std::vector<ReceivedFeature> features_;
  std::FILE* featureLog_ = nullptr;

  std::thread player_;
  std::mutex playMutex_;
  std::condition_variable playWake_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{true};
};

}  // namespace pen
