#pragma once
#include <array>
#include <cstddef>

#include "common/Event.h"

namespace pen {

// Where the main thread's message loop stands: its top-level loop, or
// inside one of the loops below it, either a wait that runs messages (the
// show delay, the report-mode retry, the device-memory wait, a fade) or a
// modal window's own loop. A window the service opens by itself must open
// from the top level: opened from inside a wait, it would hold that wait
// suspended, its clock running, until the user closes the window.
//
// One per thread (`ForThisThread`): the loops that nest are those of one
// thread, whoever runs them.
class TModalGate {
 public:
  enum class Loop { kWait, kModal };

  // A loop below the top level, for the scope of the object.
  class TScope {
   public:
    TScope(TModalGate& gate, Loop loop);
    ~TScope();
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;
    // False for a modal loop refused because one of the same window runs
    // already (the object was asked to show twice, from inside itself).
    bool Entered() const { return entered_; }

   private:
    TModalGate& gate_;
    Loop loop_;
    bool entered_ = true;
  };

  static TModalGate& ForThisThread();

  bool AtTopLevel() const { return waits_ == 0 && modals_ == 0; }
  int Waits() const { return waits_; }
  int Modals() const { return modals_; }

  // A request to open a window, taken where it arrived. True: the main
  // thread is at the top level, open it now. False: `repost` is kept (once,
  // however often asked) and called when the thread is back at the top
  // level; it posts the request again, so that the top-level loop runs it.
  bool OpenNowOrLater(Event<> repost);

 private:
  static constexpr size_t kMaxDeferred = 8;
  void Left();

  int waits_ = 0;
  int modals_ = 0;
  std::array<Event<>, kMaxDeferred> deferred_{};
  size_t deferredCount_ = 0;
};

}  // namespace pen
