#pragma once

namespace pen {

// A line-per-event account of what the driver did; only when asked for.
// Lines are short and built on the stack, so tracing from a read thread
// costs a formatted print and nothing else.
class ITrace {
 public:
  virtual ~ITrace() = default;
  virtual void Line(const char* text) = 0;
};

}  // namespace pen
