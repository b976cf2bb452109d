#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "common/Clock.h"
#include "common/Trace.h"
#include "keys/KeyList.h"
#include "keys/PostKeyPress.h"
#include "keys/VolControl.h"
#include "keys/WheelData.h"

namespace pen {

struct WheelFunctionPorts {
  SynthPorts synth;
  IVolumeControl& volume;  // the wheel's own
  IClock& clock;           // only Sleep, on the worker thread
  ITrace* trace = nullptr;
};

// Turns one wheel step into one action of the current function, on a worker
// thread of its own, so that a key can be held 100 ms without holding up the
// main thread. A step handed over while the worker is still busy with the
// previous one is lost (the overlay merges steps within 60 ms anyway).
//
// The main thread prepares the key pair in SetMode; the worker reads it
// whole, as one atomic word, so it never sees half of an old pair.
class TWheelFunction {
 public:
  static constexpr uint32_t kKeyHoldMs = 100;

  explicit TWheelFunction(const WheelFunctionPorts& ports);
  ~TWheelFunction();
  TWheelFunction(const TWheelFunction&) = delete;
  TWheelFunction& operator=(const TWheelFunction&) = delete;

  // Main thread.
  void SetWheelSettings(const WheelSettings& settings);  // fields 0..21
  void SetMode(int mode);
  void RunStep(uint8_t step);

  // One action (bit 7 of the step set: a turn to the left); the worker's
  // work, callable directly.
  void ExecuteStep(uint8_t step);

  int Mode() const;
  bool Active() const;
  bool Busy() const;
  // Waits until the worker has finished the step it was handed.
  bool WaitIdle(std::chrono::milliseconds limit) const;

 private:
  // Mode, active flag and both keys with their shift states in one word.
  struct Prepared {
    uint8_t mode = 0;
    bool active = false;
    uint16_t leftKey = 48;
    uint16_t rightKey = 57;
    ShiftState leftShift = 0;
    ShiftState rightShift = 0;
  };
  static uint64_t Pack(const Prepared& p);
  static Prepared Unpack(uint64_t word);
  void Worker();

  WheelFunctionPorts p_;
  WheelSettings settings_ = kDefaultWheelSettings;
  std::atomic<uint64_t> prepared_;
  std::atomic<uint8_t> step_{0};

  mutable std::mutex mutex_;
  mutable std::condition_variable wake_;
  bool running_ = false;
  bool terminated_ = false;
  std::thread worker_;
};

}  // namespace pen
