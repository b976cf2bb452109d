#pragma once
#include <cstdint>

namespace pen {

// Milliseconds from an arbitrary start, wrapping at 2^32 like the system's
// tick counter. Compare ticks by unsigned difference, never by order.
class ITickSource {
 public:
  virtual ~ITickSource() = default;
  virtual uint32_t TickCount() = 0;
};

// The waits of the main thread. Sleep blocks; ProcessMessagesFor keeps the
// thread's message loop running (posted commands may run inside it).
class IClock : public ITickSource {
 public:
  virtual void Sleep(uint32_t ms) = 0;
  virtual void ProcessMessagesFor(uint32_t ms) = 0;
  // True once a wait has met the request to end the program. From then on
  // ProcessMessagesFor returns at once, leaving the request for the main
  // loop, and a caller that polls in a loop of waits must give up instead of
  // spinning until its time limit.
  virtual bool Quitting() const { return false; }
};

}  // namespace pen
