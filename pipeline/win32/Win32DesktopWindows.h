#pragma once
#include "pipeline/DesktopWindows.h"

namespace pen::win32 {

// Window look-ups and messages through user32, ANSI where a name is passed.
class TWin32DesktopWindows final : public IDesktopWindows {
 public:
  uintptr_t WindowUnderCursor() override;
  uintptr_t ForegroundWindow() override;
  uint32_t ProcessOf(uintptr_t window) override;
  bool Exists(uintptr_t window) override;
  uint32_t OwnProcess() override;
  uint32_t RegisterMessage(const char* name) override;
  void AcceptFromLowerIntegrity(uint32_t msg) override;
  void Notify(uintptr_t window, uint32_t msg, uint64_t wparam, int64_t lparam) override;
  void Post(uintptr_t window, uint32_t msg, uint64_t wparam, int64_t lparam) override;
};

}  // namespace pen::win32
