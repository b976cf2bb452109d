#pragma once
#include <cstddef>
#include <cstdint>

namespace pen {

// The mapped shared block as the system handed it over.
struct SharedBlockView {
  uint8_t* bytes = nullptr;
  size_t size = 0;       // what may be read and written from `bytes`
  bool existed = false;  // another process (or an earlier run) made it
};

// The named mapping and mutex of the shared tablet-data channel.
class ISharedBlockObjects {
 public:
  virtual ~ISharedBlockObjects() = default;
  // Creates (or opens) the mutex and the mapping and maps a writable view.
  // False, with nothing held, when any of the three cannot be had.
  virtual bool Open(SharedBlockView& view) = 0;
  // Waits at most `waitMs` (0: only tries), and never longer than
  // kLongestLockWaitMs whatever is asked, for the mutex. True when the
  // caller holds it now, also when a client ended while holding it (the
  // mutex passes to this caller); false when the wait ran out or failed.
  virtual bool Lock(uint32_t waitMs) = 0;
  // Any program of the session can take the mutex and keep it: no wait on
  // it may outlast this, so a frozen client costs packets, never the service.
  static constexpr uint32_t kLongestLockWaitMs = 1000;
  virtual void Unlock() = 0;
  // Unmaps the view and lets go of both objects.
  virtual void Close() = 0;
};

}  // namespace pen
