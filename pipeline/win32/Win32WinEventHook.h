#pragma once
#include <windows.h>

#include "pipeline/WinEventSource.h"

namespace pen::win32 {

// SetWinEventHook for all processes and threads, out of context: the
// callback runs on the installing thread while it pumps messages.
class TWin32WinEventHook final : public IWinEventSource {
 public:
  TWin32WinEventHook() = default;
  ~TWin32WinEventHook() override { Remove(); }
  TWin32WinEventHook(const TWin32WinEventHook&) = delete;
  TWin32WinEventHook& operator=(const TWin32WinEventHook&) = delete;

  bool Install(uint32_t firstEvent, uint32_t lastEvent, Event<uint32_t> onEvent) override;
  void Remove() override;

 private:
  static void CALLBACK Callback(HWINEVENTHOOK hook, DWORD event, HWND, LONG, LONG, DWORD, DWORD);
  HWINEVENTHOOK hook_ = nullptr;
  Event<uint32_t> onEvent_;
};

}  // namespace pen::win32
