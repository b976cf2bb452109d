#pragma once
#include <atomic>
#include <cstdint>

namespace pen {

// The foreground window watch: which window is in front, and whether that
// changed since the host last re-checked the report mode.
class IForegroundWatch {
 public:
  virtual ~IForegroundWatch() = default;
  // The foreground window recorded at the last change; 0 when unknown.
  virtual uintptr_t Foreground() const = 0;
  // The one recorded before it.
  virtual uintptr_t Previous() const = 0;
  virtual bool ForegroundChanged() const = 0;
  // Clears the flag; true when it was set (only one reader acts on a change).
  virtual bool TakeForegroundChanged() = 0;
  virtual void ClearForegroundChanged() = 0;
  // At shut-down: no more changes are reported.
  virtual void Stop() = 0;
};

// Nothing watches the desktop; the host falls back to the window that
// command 11 names.
class TNullForegroundWatch final : public IForegroundWatch {
 public:
  uintptr_t Foreground() const override { return 0; }
  uintptr_t Previous() const override { return 0; }
  bool ForegroundChanged() const override { return changed_.load(std::memory_order_relaxed); }
  bool TakeForegroundChanged() override { return changed_.exchange(false, std::memory_order_relaxed); }
  void ClearForegroundChanged() override { changed_.store(false, std::memory_order_relaxed); }
  void Stop() override {}
  void MarkChanged() { changed_.store(true, std::memory_order_relaxed); }

 private:
  std::atomic<bool> changed_{false};
};

}  // namespace pen
