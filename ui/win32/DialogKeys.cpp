#include "ui/win32/DialogKeys.h"

#include "common/ModalGate.h"

namespace pen::win32 {

namespace {
constexpr const wchar_t* kMark = L"PenDialogKeys";
}

void TakeDialogKeys(HWND window) {
  if (window) SetPropW(window, kMark, reinterpret_cast<HANDLE>(static_cast<intptr_t>(1)));
}

bool HandleDialogKeys(MSG& m) {
  // Only keys: the dialog manager would otherwise dispatch every message of
  // the window itself.
  if (!m.hwnd || m.message < WM_KEYFIRST || m.message > WM_KEYLAST) return false;
  HWND root = GetAncestor(m.hwnd, GA_ROOT);
  if (!root || !GetPropW(root, kMark) || !IsWindowEnabled(root)) return false;
  return IsDialogMessageW(root, &m) != FALSE;
}

bool RunModalLoop(const bool& done) {
  // Below the top level: what the service would open now waits for it.
  const TModalGate::TScope modal(TModalGate::ForThisThread(), TModalGate::Loop::kModal);
  MSG m;
  while (!done) {
    const BOOL got = GetMessageW(&m, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the quit is left for the main loop.
      if (got == 0) PostQuitMessage(static_cast<int>(m.wParam));
      return false;
    }
    if (HandleDialogKeys(m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return true;
}

}  // namespace pen::win32
