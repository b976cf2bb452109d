#pragma once
#include <cstdint>

namespace pen {

// Posts a message to a window of this program; safe from any thread and
// never waits for the message to be handled.
class IWindowPoster {
 public:
  virtual ~IWindowPoster() = default;
  virtual void Post(uint32_t msg, uint64_t wparam, int64_t lparam) = 0;
};

}  // namespace pen
