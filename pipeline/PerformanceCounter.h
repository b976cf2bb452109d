#pragma once
#include <cstdint>

namespace pen {

// The system's high-resolution counter, for the time stamps clients see.
class IPerformanceCounter {
 public:
  virtual ~IPerformanceCounter() = default;
  virtual uint64_t Frequency() = 0;  // counts per second
  virtual uint64_t Count() = 0;
};

}  // namespace pen
