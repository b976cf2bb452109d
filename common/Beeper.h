#pragma once

namespace pen {

// The system's default beep: the only sign of a rejected feature report.
class IBeeper {
 public:
  virtual ~IBeeper() = default;
  virtual void Beep() = 0;
};

}  // namespace pen
