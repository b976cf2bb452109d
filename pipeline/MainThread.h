#pragma once
#include <atomic>

#include "common/Event.h"

namespace pen {

// The thread that owns the device link. Device arrival and removal, and every
// report before direct delivery is switched on, must run there.
class IMainThread {
 public:
  virtual ~IMainThread() = default;
  // Runs `work` on the main thread and returns once it has run. Called on the
  // main thread itself, it runs at once.
  virtual void Invoke(Event<> work) = 0;
  // On the main thread: blocks until `finished` is true while still serving
  // Invoke calls from other threads, so a worker blocked in Invoke can end.
  virtual void WaitServing(const std::atomic<bool>& finished) = 0;
};

}  // namespace pen
