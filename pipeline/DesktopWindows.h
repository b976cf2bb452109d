#pragma once
#include <cstdint>

namespace pen {

// Other programs' windows as the shared channel and the foreground watch see
// them, and the messages exchanged with them. Window handles travel as
// integers; 0 is no window.
class IDesktopWindows {
 public:
  virtual ~IDesktopWindows() = default;
  virtual uintptr_t WindowUnderCursor() = 0;
  virtual uintptr_t ForegroundWindow() = 0;
  // 0 when the window does not exist.
  virtual uint32_t ProcessOf(uintptr_t window) = 0;
  virtual bool Exists(uintptr_t window) = 0;
  virtual uint32_t OwnProcess() = 0;

  // 0 when the system refuses.
  virtual uint32_t RegisterMessage(const char* name) = 0;
  // Lets processes at a lower integrity level send `msg` to this process's
  // windows; nothing where the system has no such filter.
  virtual void AcceptFromLowerIntegrity(uint32_t msg) = 0;
  // Queued for the window's thread without waiting for it; any thread.
  virtual void Notify(uintptr_t window, uint32_t msg, uint64_t wparam, int64_t lparam) = 0;
  virtual void Post(uintptr_t window, uint32_t msg, uint64_t wparam, int64_t lparam) = 0;
};

}  // namespace pen
