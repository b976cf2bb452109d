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

// Formats one line (cut at 160 characters) into `trace`; nothing without one.
void TraceLine(ITrace* trace, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

}  // namespace pen
