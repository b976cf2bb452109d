#pragma once
#include <windows.h>

#include <memory>
#include <mutex>

#include "pipeline/ChannelClient.h"
#include "pipeline/win32/Win32ChannelClientPorts.h"
#include "wintab/WintabInfo.h"
#include "wintab/WintabSession.h"

namespace pen::wintab::win32 {

// Posts the library's messages to the programs' windows.
class TWin32WintabWindows final : public IWintabWindows {
 public:
  void Post(uint64_t window, uint32_t msg, uint64_t wParam, int64_t lParam) override;
};

// The library inside one program: its contexts, and one hidden window (on
// the thread that opened the first context) that the service knows as this
// process's client. The window's timers look for the service and read the
// ring; the service's notices read it at once. Every entry point takes the
// lock, so a program may call from any of its threads.
class TWintabHost {
 public:
  static TWintabHost& Instance();
  // At unload: the window goes if this thread made it.
  static void Shutdown();

  // Recursive: a manager's enumeration calls back into the interface.
  std::recursive_mutex lock;
  TWintabSession& Session() { return session_; }
  TWintabInfo Info();
  // Makes the window (once) and registers with the service, if one runs.
  void Attach();

 private:
  TWintabHost();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void UpdateTimeOffset();

  TWin32WintabWindows windows_;
  TWintabSession session_;
  pen::win32::TWin32ClientBlock block_;
  pen::win32::TWin32ChannelService service_;
  std::unique_ptr<TChannelClient> client_;
  HWND window_ = nullptr;
  DWORD windowThread_ = 0;
  LARGE_INTEGER frequency_{};
};

}  // namespace pen::wintab::win32
