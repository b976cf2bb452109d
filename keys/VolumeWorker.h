#pragma once
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

#include "keys/VolControl.h"

namespace pen {

// A volume control whose audio calls all run on a thread of its own: the
// back end is created there, used there and released there. The audio
// interfaces want a multithreaded COM apartment, which must not be the
// window thread's (shell and OLE dialogs need it single-threaded), and a
// read thread must not wait on the audio service. The operations only
// queue a request and return at once; a burst beyond kQueued pending
// requests is dropped, as a key press the audio service cannot keep up with.
class TVolumeWorker final : public IVolumeControl {
 public:
  static constexpr size_t kQueued = 16;

  explicit TVolumeWorker(IAudioSystem& audio);
  // Carries out what is queued, then ends the thread.
  ~TVolumeWorker() override;
  TVolumeWorker(const TVolumeWorker&) = delete;
  TVolumeWorker& operator=(const TVolumeWorker&) = delete;

  void VolumeUp() override { Queue(Op::Up); }
  void VolumeDown() override { Queue(Op::Down); }
  void ToggleMute() override { Queue(Op::Mute); }

  // Waits until the back end exists and every request queued so far is done.
  bool WaitIdle(std::chrono::milliseconds limit);
  size_t Dropped() const;

 private:
  enum class Op : uint8_t { Up, Down, Mute };
  void Queue(Op op);
  void Run();

  IAudioSystem& audio_;
  mutable std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::array<Op, kQueued> ops_{};
  size_t head_ = 0, count_ = 0, dropped_ = 0;
  bool busy_ = true;  // until the back end is made
  bool stop_ = false;
  std::thread thread_;  // last: starts once the rest is ready
};

}  // namespace pen
