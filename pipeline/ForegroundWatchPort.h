#pragma once
#include <cstdint>

namespace pen {

// The foreground window watch, as the service host reads it: which window
// is in front, and whether that changed since the host last re-checked the
// report mode.
class IForegroundWatch {
 public:
  virtual ~IForegroundWatch() = default;
  // The foreground window recorded at the last change; 0 when unknown.
  virtual uintptr_t RecordedForeground() const = 0;
  // The one recorded before it.
  virtual uintptr_t RecordedPrevious() const = 0;
  // Clears the flag; true when it was set (only one reader acts on a change).
  virtual bool TakeForegroundChanged() = 0;
  virtual void ClearForegroundChanged() = 0;
  // At shut-down: no more changes are reported.
  virtual void Unhook() = 0;
};

}  // namespace pen
