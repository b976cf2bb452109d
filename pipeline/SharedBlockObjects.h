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
  // Waits as long as it takes; false only when waiting itself failed. A
  // client that ended while holding the mutex leaves it to this caller.
  virtual bool Lock() = 0;
  virtual void Unlock() = 0;
  // Unmaps the view and lets go of both objects.
  virtual void Close() = 0;
};

}  // namespace pen
