#include "common/Trace.h"

#include <cstdarg>
#include <cstdio>

namespace pen {

void TraceLine(ITrace* trace, const char* fmt, ...) {
  if (!trace) return;
  char line[160];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(line, sizeof line, fmt, args);
  va_end(args);
  trace->Line(line);
}

}  // namespace pen
