// wtdraw: a drawing program as far as Wintab goes. It loads wintab32.dll
// the way drawing programs do (LoadLibrary, GetProcAddress), takes the
// default system context, asks for x, y, normal pressure, buttons, status,
// time, cursor, orientation and serial number, flips the y extent so that
// y counts from the top, opens it with messages on and prints every
// message and packet, one line each.
//
//   wtdraw --out=FILE [--seconds=S] [--front] [--cover]
//
//   --front  brings its window to the foreground at start and tells the
//            system's window-event listeners (as tabclient does)
//   --cover  the window covers the whole desktop, on top
// Posting WM_APP + 1 to its window ("wtdraw PID") brings it to the front
// (and on top) later.
#include <windows.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "wintab/Wintab.h"

namespace {

using namespace pen::wintab;
using HCTX = void*;

using WTInfoWFn = UINT(WINAPI*)(UINT, UINT, LPVOID);
using WTOpenWFn = HCTX(WINAPI*)(HWND, LOGCONTEXTW*, BOOL);
using WTCloseFn = BOOL(WINAPI*)(HCTX);
using WTPacketFn = BOOL(WINAPI*)(HCTX, UINT, LPVOID);
using WTQueueSizeSetFn = BOOL(WINAPI*)(HCTX, int);
using WTQueueSizeGetFn = int(WINAPI*)(HCTX);
using WTGetWFn = BOOL(WINAPI*)(HCTX, LOGCONTEXTW*);
using WTPacketsPeekFn = int(WINAPI*)(HCTX, int, LPVOID);

constexpr WTPKT kData =
    PK_STATUS | PK_TIME | PK_SERIAL_NUMBER | PK_CURSOR | PK_BUTTONS | PK_X | PK_Y | PK_NORMAL_PRESSURE | PK_ORIENTATION;
// The packet those bits make, in the interface's order.
struct Packet {
  uint32_t status, time, serial, cursor, buttons;
  int32_t x, y;
  uint32_t pressure;
  ORIENTATION orientation;
};
constexpr UINT kToFront = WM_APP + 1;

struct State {
  FILE* out = stdout;
  HWND window = nullptr;
  HCTX ctx = nullptr;
  LOGCONTEXTW lc{};
  WTPacketFn packet = nullptr;
  WTPacketsPeekFn peek = nullptr;
  unsigned packets = 0;
  bool down = false;
} g;

void Line(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void Line(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::vfprintf(g.out, fmt, args);
  va_end(args);
  std::fputc('\n', g.out);
  std::fflush(g.out);
}

void ToFront() {
  SetWindowPos(g.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(g.window);
  NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, g.window, OBJID_WINDOW, CHILDID_SELF);
  Line("in front");
}

void OnPacket(UINT serial) {
  Packet p{};
  if (!g.packet(g.ctx, serial, &p)) {
    Line("no packet %u", serial);
    return;
  }
  ++g.packets;
  // age: milliseconds from the service's time stamp to this program holding the packet.
  Line("packet serial=%u status=%u x=%ld y=%ld pressure=%u buttons=%u cursor=%u azimuth=%ld altitude=%ld time=%lu "
       "age=%ld",
       p.serial, p.status, static_cast<long>(p.x), static_cast<long>(p.y), p.pressure, p.buttons, p.cursor,
       static_cast<long>(p.orientation.orAzimuth), static_cast<long>(p.orientation.orAltitude),
       static_cast<unsigned long>(p.time), static_cast<long>(GetTickCount() - p.time));
  const bool down = (p.buttons & 1) != 0;
  if (down && !g.down) {
    // Where a toolkit puts the pen: the context's device extent over the
    // desktop (lcSys*), y already counted from the top.
    const double px = g.lc.f.lcSysOrgX + p.x * static_cast<double>(g.lc.f.lcSysExtX) / g.lc.f.lcInExtX;
    const double py = g.lc.f.lcSysOrgY + p.y * static_cast<double>(g.lc.f.lcSysExtY) / g.lc.f.lcInExtY;
    POINT c{};
    GetCursorPos(&c);
    Line("pendown distance=%.2f pen=%.1f,%.1f pointer=%ld,%ld", std::hypot(px - c.x, py - c.y), px, py,
         static_cast<long>(c.x), static_cast<long>(c.y));
  }
  g.down = down;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const UINT base = g.lc.f.lcMsgBase;
  if (g.ctx != nullptr && msg >= base && msg <= base + WT_MAXOFFSET) {
    switch (msg - base) {
      case WT_PACKET: OnPacket(static_cast<UINT>(wp)); return 0;
      case WT_PROXIMITY:
        Line("proximity in=%u hardware=%u queued=%d", LOWORD(lp), HIWORD(lp), g.peek(g.ctx, 1000, nullptr));
        return 0;
      case WT_CSRCHANGE: Line("cursor change serial=%u", static_cast<unsigned>(wp)); return 0;
      default: Line("message %u", msg - base); return 0;
    }
  }
  switch (msg) {
    case kToFront: ToFront(); return 0;
    case WM_TIMER: PostQuitMessage(0); return 0;
    case WM_CLOSE: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  unsigned seconds = 0;
  bool front = false, cover = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.rfind("--out=", 0) == 0) {
      out = a.substr(6);
    } else if (a.rfind("--seconds=", 0) == 0) {
      seconds = static_cast<unsigned>(std::strtoul(a.c_str() + 10, nullptr, 10));
    } else if (a == "--front") {
      front = true;
    } else if (a == "--cover") {
      cover = true;
    } else {
      std::fprintf(stderr, "usage: wtdraw --out=FILE [--seconds=S] [--front] [--cover]\n");
      return 2;
    }
  }
  if (!out.empty() && (g.out = std::fopen(out.c_str(), "w")) == nullptr) return 2;

  HMODULE lib = LoadLibraryA("wintab32.dll");
  if (lib == nullptr) {
    Line("no wintab32.dll");
    return 1;
  }
  char path[MAX_PATH] = {};
  GetModuleFileNameA(lib, path, MAX_PATH);
  Line("loaded %s", path);
  auto info = reinterpret_cast<WTInfoWFn>(reinterpret_cast<void*>(GetProcAddress(lib, "WTInfoW")));
  auto open = reinterpret_cast<WTOpenWFn>(reinterpret_cast<void*>(GetProcAddress(lib, "WTOpenW")));
  auto close = reinterpret_cast<WTCloseFn>(reinterpret_cast<void*>(GetProcAddress(lib, "WTClose")));
  auto queueSet = reinterpret_cast<WTQueueSizeSetFn>(reinterpret_cast<void*>(GetProcAddress(lib, "WTQueueSizeSet")));
  auto queueGet = reinterpret_cast<WTQueueSizeGetFn>(reinterpret_cast<void*>(GetProcAddress(lib, "WTQueueSizeGet")));
  auto get = reinterpret_cast<WTGetWFn>(reinterpret_cast<void*>(GetProcAddress(lib, "WTGetW")));
  g.packet = reinterpret_cast<WTPacketFn>(reinterpret_cast<void*>(GetProcAddress(lib, "WTPacket")));
  g.peek = reinterpret_cast<WTPacketsPeekFn>(reinterpret_cast<void*>(GetProcAddress(lib, "WTPacketsPeek")));
  if (!info || !open || !close || !queueSet || !queueGet || !get || !g.packet || !g.peek) {
    Line("missing functions");
    return 1;
  }
  // Some programs import by ordinal: each function's number as the
  // interface assigns it must lead to the same function as its name.
  static const struct {
    const char* name;
    WORD ordinal;
  } kOrdinals[] = {
      {"WTInfoA", 20}, {"WTOpenA", 21}, {"WTClose", 22}, {"WTPacketsGet", 23}, {"WTPacket", 24}, {"WTEnable", 40},
      {"WTOverlap", 41}, {"WTConfig", 60}, {"WTGetA", 61}, {"WTSetA", 62}, {"WTExtGet", 63}, {"WTExtSet", 64},
      {"WTSave", 65}, {"WTRestore", 66}, {"WTPacketsPeek", 80}, {"WTDataGet", 81}, {"WTDataPeek", 82},
      {"WTQueueSizeGet", 84}, {"WTQueueSizeSet", 85}, {"WTMgrOpen", 100}, {"WTMgrClose", 101},
      {"WTMgrContextEnum", 120}, {"WTMgrContextOwner", 121}, {"WTMgrDefContext", 122}, {"WTMgrDeviceConfig", 140},
      {"WTMgrExt", 180}, {"WTMgrCsrEnable", 181}, {"WTMgrCsrButtonMap", 182}, {"WTMgrCsrPressureBtnMarks", 183},
      {"WTMgrCsrPressureResponse", 184}, {"WTMgrCsrExt", 185}, {"WTQueuePacketsEx", 200},
      {"WTMgrCsrPressureBtnMarksEx", 201}, {"WTMgrConfigReplaceExA", 202}, {"WTMgrPacketHookExA", 203},
      {"WTMgrPacketUnhook", 204}, {"WTMgrPacketHookNext", 205}, {"WTMgrDefContextEx", 206}, {"WTInfoW", 1020},
      {"WTOpenW", 1021}, {"WTGetW", 1061}, {"WTSetW", 1062}, {"WTMgrConfigReplaceExW", 1202},
      {"WTMgrPacketHookExW", 1203},
  };
  int matching = 0;
  for (const auto& e : kOrdinals) {
    const FARPROC byName = GetProcAddress(lib, e.name);
    if (byName != nullptr && byName == GetProcAddress(lib, MAKEINTRESOURCEA(e.ordinal))) {
      ++matching;
    } else {
      Line("ordinal %u is not %s", e.ordinal, e.name);
    }
  }
  Line("ordinals %d of %d", matching, static_cast<int>(sizeof kOrdinals / sizeof kOrdinals[0]));
  // Whether there is a tablet interface at all.
  Line("info size=%u", info(0, 0, nullptr));
  wchar_t id[128] = {};
  if (info(WTI_INTERFACE, IFC_WINTABID, nullptr) <= sizeof id) info(WTI_INTERFACE, IFC_WINTABID, id);
  uint16_t version = 0;  // the interface version the library implements
  info(WTI_INTERFACE, IFC_SPECVERSION, &version);
  Line("interface %ls version=%x", id, version);

  WNDCLASSA wc{};
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "WintabDrawWindow";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassA(&wc);
  char caption[40];
  std::snprintf(caption, sizeof caption, "wtdraw %lu", GetCurrentProcessId());
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  g.window = cover ? CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, caption, WS_POPUP | WS_VISIBLE, x, y, w, h,
                                     nullptr, nullptr, wc.hInstance, nullptr)
                   : CreateWindowExA(0, wc.lpszClassName, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                     nullptr, nullptr, wc.hInstance, nullptr);
  if (g.window == nullptr) return 1;

  LOGCONTEXTW lc{};
  if (info(WTI_DEFSYSCTX, 0, &lc) != sizeof lc) {
    Line("no default context");
    return 1;
  }
  lc.f.lcOptions |= CXO_MESSAGES | CXO_CSRMESSAGES;
  lc.f.lcPktData = kData;
  lc.f.lcMoveMask = kData;
  lc.f.lcPktMode = 0;
  lc.f.lcOutOrgX = lc.f.lcOutOrgY = 0;
  lc.f.lcOutExtX = lc.f.lcInExtX;
  lc.f.lcOutExtY = -lc.f.lcInExtY;
  g.lc = lc;
  g.ctx = open(g.window, &lc, TRUE);
  if (g.ctx == nullptr) {
    Line("open failed");
  } else {
    const BOOL grown = queueSet(g.ctx, 128);
    LOGCONTEXTW back{};
    get(g.ctx, &back);
    Line("open queue=%d grown=%d options=%x", queueGet(g.ctx), grown, back.f.lcOptions);
  }
  if (front) ToFront();
  if (seconds > 0) SetTimer(g.window, 1, seconds * 1000u, nullptr);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  if (g.ctx != nullptr) close(g.ctx);
  Line("summary packets=%u", g.packets);
  DestroyWindow(g.window);
  FreeLibrary(lib);
  if (g.out != stdout) std::fclose(g.out);
  return 0;
}
