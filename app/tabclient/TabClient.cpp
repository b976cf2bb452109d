// tabclient: a tablet-data client that shows what the service publishes to
// drawing programs, one line per event.
//
//   tabclient [--out=FILE] [--seconds=S] [--poll=MS] [--flag] [--cover] [--front] [--no-consume] [--at-once]
//
// It makes a window, registers it with the running service (message A with
// its window and process id; --flag also sends message B), and then reads
// the ring whenever the service wakes it and every MS milliseconds (20; 0:
// only when woken): under the block's mutex it takes the packets from the
// tail to the head, when the header names its own process, and moves the
// tail on as a consumer does. Each packet is printed with its slot, serial,
// status, x, y, pressure, tilts and time stamp; a serial that does not
// follow the one before is reported as a gap.
//
//   --cover       the window covers the whole desktop, on top, so the pen is
//                 always over it
//   --front       brings the window to the foreground and says so to the
//                 system's window-event listeners
//   --no-consume  never moves the tail; prints the header with every notice
//                 and the whole ring at the end
//   --at-once     looks for the service window every millisecond and
//                 registers the moment it appears, as a drawing program
//                 started together with the service does
//
// It ends after S seconds, or on Ctrl+C, with a summary line.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "pipeline/ChannelClient.h"
#include "pipeline/SharedBlock.h"
#include "pipeline/SharedBlockLayout.h"
#include "pipeline/win32/Win32ChannelClientPorts.h"

namespace {

namespace tabshare = pen::tabshare;

constexpr char kClassName[] = "TabClientWindow";
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT_PTR kEndTimer = 2;

struct Options {
  std::string out;
  unsigned seconds = 0;
  unsigned pollMs = 20;
  bool flag = false;
  bool cover = false;
  bool front = false;
  bool consume = true;
  bool atOnce = false;
};

void Line(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Prints what the channel delivers.
class TPrinter final : public pen::IChannelSink {
 public:
  void OnPacket(const pen::RingSlot& s, uint32_t lost, uint32_t index) override {
    if (lost > 0) {
      ++gaps;
      Line("gap after serial %lu: %lu", static_cast<unsigned long>(s.serial - lost - 1),
           static_cast<unsigned long>(s.serial));
    }
    Line("packet slot=%lu serial=%lu status=%02X x=%u y=%u pressure=%u tilt=%d,%d time=%lu",
         static_cast<unsigned long>(index), static_cast<unsigned long>(s.serial), s.packet.Status(), s.packet.X(),
         s.packet.Y(), s.packet.Pressure(), s.packet.TiltA(), s.packet.TiltB(), static_cast<unsigned long>(s.time));
  }
  void OnService(bool) override {}
  unsigned gaps = 0;
};

struct State {
  Options options;
  FILE* out = stdout;
  HWND window = nullptr;
  DWORD process = 0;
  pen::win32::TWin32ChannelService* service = nullptr;
  pen::TChannelClient* client = nullptr;
  TPrinter printer;
  unsigned notices = 0;
  uint32_t registrations = 0;  // those already told
  bool blockOpen = false;
  DWORD foreignProcess = 0;  // last other process the header named
};

State g;

void Line(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::vfprintf(g.out, fmt, args);
  va_end(args);
  std::fputc('\n', g.out);
  std::fflush(g.out);
}

bool ParseUnsigned(const char* text, unsigned& out) {
  char* end = nullptr;
  const unsigned long v = std::strtoul(text, &end, 10);
  if (end == text || *end != '\0' || v > 100000) return false;
  out = static_cast<unsigned>(v);
  return true;
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&a](const char* name) -> const char* {
      const size_t n = std::strlen(name);
      return a.compare(0, n, name) == 0 ? a.c_str() + n : nullptr;
    };
    if (const char* v = value("--out=")) {
      o.out = v;
    } else if (const char* s = value("--seconds=")) {
      if (!ParseUnsigned(s, o.seconds)) return false;
    } else if (const char* p = value("--poll=")) {
      if (!ParseUnsigned(p, o.pollMs)) return false;
    } else if (a == "--flag") {
      o.flag = true;
    } else if (a == "--cover") {
      o.cover = true;
    } else if (a == "--front") {
      o.front = true;
    } else if (a == "--at-once") {
      o.atOnce = true;
    } else if (a == "--no-consume") {
      o.consume = false;
    } else {
      return false;
    }
  }
  return true;
}

// Looks for the service and says what came of it.
void FollowService() {
  g.client->FollowService();
  if (g.client->Stats().registrations != g.registrations) {
    g.registrations = g.client->Stats().registrations;
    Line("registered with the service window %p", reinterpret_cast<void*>(static_cast<uintptr_t>(g.client->service)));
    if (g.options.front) {
      SetForegroundWindow(g.window);
      // Windows raises this itself when the foreground changes; raised again
      // it changes nothing there, and it reaches the service's watch on
      // systems that leave it out.
      NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, g.window, OBJID_WINDOW, CHILDID_SELF);
      Line("in front");
    }
  }
}

// Said before the first read of a block that was opened meanwhile.
void NoteBlock() {
  if (g.client->BlockOpen() == g.blockOpen) return;
  g.blockOpen = g.client->BlockOpen();
  if (g.blockOpen) Line("block open");
}

// Runs a read of the ring, then tells when the header named another process.
template <typename Read>
void Consume(Read&& read) {
  if (!g.options.consume) return;
  const uint32_t misses = g.client->Stats().lockMisses;
  NoteBlock();
  read();
  NoteBlock();
  if (!g.client->BlockOpen() || g.client->Stats().lockMisses != misses) return;
  const DWORD target = g.client->Target();
  if (target == g.process) {
    g.foreignProcess = 0;
    return;
  }
  if (target != g.foreignProcess) Line("packets are for process %lu", static_cast<unsigned long>(target));
  g.foreignProcess = target;
}

void Consume() {
  Consume([] { g.client->Drain(); });
}

void OnMessageA(WPARAM wp, LPARAM lp) {
  if (lp == tabshare::kNotifyPacket) {
    ++g.notices;
    if (!g.options.consume) {
      NoteBlock();
      const bool shown = g.client->Inspect([wp](const pen::TSharedBlock& block) {
        Line("notice serial=%lu pid=%lu tail=%lu head=%lu", static_cast<unsigned long>(wp),
             static_cast<unsigned long>(block.TargetProcess()), static_cast<unsigned long>(block.Tail()),
             static_cast<unsigned long>(block.Head()));
      });
      if (shown) return;
    }
    Line("notice serial=%lu", static_cast<unsigned long>(wp));
    Consume([wp, lp] { g.client->OnMessageA(wp, lp); });
  } else if (lp == tabshare::kNotifySelected && wp == 0) {
    Line("selected");
    Consume([wp, lp] { g.client->OnMessageA(wp, lp); });
  } else if (lp == tabshare::kNotifyDeselected && wp == 0) {
    Line("deselected");
    g.client->OnMessageA(wp, lp);
  } else {
    Line("message A wparam=%llu lparam=%lld", static_cast<unsigned long long>(wp), static_cast<long long>(lp));
  }
}

void DumpRing() {
  NoteBlock();
  g.client->Inspect([](const pen::TSharedBlock& block) {
    Line("header pid=%lu tail=%lu head=%lu", static_cast<unsigned long>(block.TargetProcess()),
         static_cast<unsigned long>(block.Tail()), static_cast<unsigned long>(block.Head()));
    for (uint32_t i = 0; i < tabshare::kSlots; ++i) {
      const pen::RingSlot s = block.ReadSlot(i);
      Line("slot %lu serial=%lu status=%02X", static_cast<unsigned long>(i), static_cast<unsigned long>(s.serial),
           s.packet.Status());
    }
  });
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (g.client != nullptr && msg != 0 && msg == g.service->MessageA()) {
    OnMessageA(wp, lp);
    return 0;
  }
  switch (msg) {
    case WM_TIMER:
      if (wp == kEndTimer) {
        PostQuitMessage(0);
      } else if (wp == kPollTimer) {
        FollowService();
        if (g.options.pollMs > 0) Consume();
      }
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

BOOL WINAPI OnConsoleCtrl(DWORD) {
  PostMessageA(g.window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (!ParseOptions(argc, argv, g.options)) {
    std::fprintf(stderr,
                 "usage: tabclient [--out=FILE] [--seconds=S] [--poll=MS] [--flag] [--cover] [--front] "
                 "[--no-consume] [--at-once]\n");
    return 2;
  }
  if (!g.options.out.empty()) {
    g.out = std::fopen(g.options.out.c_str(), "w");
    if (g.out == nullptr) {
      std::fprintf(stderr, "tabclient: cannot write %s\n", g.options.out.c_str());
      return 2;
    }
  }
  g.process = GetCurrentProcessId();
  pen::win32::TWin32ChannelService service;
  service.SetFlag(g.options.flag);
  g.service = &service;

  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassA(&wc);
  char caption[40];
  std::snprintf(caption, sizeof caption, "tabclient %lu", static_cast<unsigned long>(g.process));
  if (g.options.cover) {
    g.window = CreateWindowExA(WS_EX_TOPMOST, kClassName, caption, WS_POPUP | WS_VISIBLE,
                               GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                               GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr,
                               nullptr, instance, nullptr);
  } else {
    g.window = CreateWindowExA(0, kClassName, caption, WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, nullptr, nullptr,
                               instance, nullptr);
  }
  if (g.window == nullptr) {
    std::fprintf(stderr, "tabclient: no window\n");
    return 1;
  }
  pen::win32::TWin32ClientBlock block;
  std::optional<pen::TChannelClient> client;
  client.emplace(block, service, g.printer, reinterpret_cast<uintptr_t>(g.window), g.process);
  // A reference client rather waits for a program that keeps the mutex than
  // leaves a wake-up unread; a service that starts again finds it in the
  // block it kept.
  client->SetLockWait(pen::ISharedBlockObjects::kLongestLockWaitMs);
  client->KeepBlockAcrossRestart(true);
  g.client = &*client;

  SetConsoleCtrlHandler(&OnConsoleCtrl, TRUE);
  Line("client window %p process %lu", static_cast<void*>(g.window), static_cast<unsigned long>(g.process));
  if (g.options.atOnce) {
    Line("waiting for the service");
    while (service.FindService() == 0) Sleep(1);
  }
  // Until the service is there, the poll timer keeps looking for it.
  FollowService();
  if (client->service == 0) Line("waiting for the service");
  SetTimer(g.window, kPollTimer, g.options.pollMs > 0 ? g.options.pollMs : 100, nullptr);
  if (g.options.seconds > 0) SetTimer(g.window, kEndTimer, g.options.seconds * 1000u, nullptr);

  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  if (g.options.consume) {
    Consume();
  } else {
    DumpRing();
  }
  Line("summary packets=%u notices=%u gaps=%u", static_cast<unsigned>(client->Stats().packets), g.notices,
       g.printer.gaps);
  DestroyWindow(g.window);
  g.client = nullptr;
  client.reset();
  if (g.out != stdout) std::fclose(g.out);
  return 0;
}
