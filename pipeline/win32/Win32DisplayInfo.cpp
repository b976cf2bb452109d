#include "pipeline/win32/Win32DisplayInfo.h"

#include <windows.h>

namespace pen::win32 {

namespace {
struct Monitors {
  int count = 0;
  RECT first{};
  RECT primary{};
  bool havePrimary = false;
};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  auto* m = reinterpret_cast<Monitors*>(param);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  if (m->count == 0) m->first = info.rcMonitor;
  if ((info.dwFlags & MONITORINFOF_PRIMARY) && !m->havePrimary) {
    m->primary = info.rcMonitor;
    m->havePrimary = true;
  }
  ++m->count;
  return TRUE;
}
}  // namespace

DisplayGeometry Win32DisplayInfo::Read() {
  Monitors m;
  EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&m));
  // With one monitor it is the primary; with several, the one marked so.
  RECT r = (m.count >= 2 && m.havePrimary) ? m.primary : m.first;
  DisplayGeometry g;
  g.primaryWidth = r.right - r.left;
  g.primaryHeight = r.bottom - r.top;
  if (m.count == 0) {
    // No monitor enumerated (a session without a display): the system's own primary metrics.
    g.primaryWidth = GetSystemMetrics(SM_CXSCREEN);
    g.primaryHeight = GetSystemMetrics(SM_CYSCREEN);
  }
  g.virtualLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
  g.virtualTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
  g.virtualWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  g.virtualHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  return g;
}

}  // namespace pen::win32
