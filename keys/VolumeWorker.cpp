#include "keys/VolumeWorker.h"

namespace pen {

TVolumeWorker::TVolumeWorker(IAudioSystem& audio) : audio_(audio), thread_([this] { Run(); }) {}

TVolumeWorker::~TVolumeWorker() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void TVolumeWorker::Queue(Op op) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (count_ == kQueued) {
      ++dropped_;
      return;
    }
    ops_[(head_ + count_) % kQueued] = op;
    ++count_;
  }
  wake_.notify_one();
}

void TVolumeWorker::Run() {
  TVolControl control(audio_);
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    busy_ = false;
    idle_.notify_all();
    wake_.wait(lock, [this] { return stop_ || count_ > 0; });
    if (count_ == 0) return;  // stopped, nothing left to do
    const Op op = ops_[head_];
    head_ = (head_ + 1) % kQueued;
    --count_;
    busy_ = true;
    lock.unlock();
    switch (op) {
      case Op::Up: control.VolumeUp(); break;
      case Op::Down: control.VolumeDown(); break;
      case Op::Mute: control.ToggleMute(); break;
    }
    lock.lock();
  }
}

bool TVolumeWorker::WaitIdle(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> lock(mutex_);
  return idle_.wait_for(lock, limit, [this] { return !busy_ && count_ == 0; });
}

size_t TVolumeWorker::Dropped() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return dropped_;
}

}  // namespace pen
