#include "common/win32/Win32Clock.h"

#include <windows.h>

#include "common/ModalGate.h"

namespace pen::win32 {

uint32_t Win32Clock::TickCount() { return GetTickCount(); }

void Win32Clock::Sleep(uint32_t ms) { ::Sleep(ms); }

void Win32Clock::ProcessMessagesFor(uint32_t ms) {
  // The quit stays queued for the outer loop; taking it out again here would
  // only put it back.
  if (quitting_) return;
  // A window the service opens by itself waits for the top-level loop.
  const TModalGate::TScope wait(TModalGate::ForThisThread(), TModalGate::Loop::kWait);
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // Leave the quit for the outer loop, which ends the program.
        quitting_ = true;
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= ms) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
  }
}

}  // namespace pen::win32
