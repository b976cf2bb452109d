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
#include <string>

#include "pipeline/SharedBlock.h"
#include "pipeline/SharedBlockLayout.h"

namespace {

using pen::TSharedBlock;
namespace tabshare = pen::tabshare;

constexpr char kServiceClass[] = "TPenHostMain";
constexpr char kServiceCaption[] = "70ea8e50-29b4-4832-b9f3-c75409347c2e";
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

struct State {
  Options options;
  FILE* out = stdout;
  HWND window = nullptr;
  DWORD process = 0;
  UINT messageA = 0;
  UINT messageB = 0;
  HWND service = nullptr;
  HANDLE mapping = nullptr;
  HANDLE mutex = nullptr;
  uint8_t* view = nullptr;
  bool anySerial = false;
  uint32_t lastSerial = 0;
  unsigned packets = 0, notices = 0, gaps = 0;
  DWORD foreignProcess = 0;  // last other process the header named
};

State g;

void Line(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
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

// The block and its mutex are the service's; a client only opens them.
bool OpenBlock() {
  if (g.view != nullptr) return true;
  if (g.mutex == nullptr) g.mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, tabshare::kMutexName);
  if (g.mapping == nullptr) g.mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, tabshare::kMappingName);
  if (g.mutex == nullptr || g.mapping == nullptr) return false;
  g.view = static_cast<uint8_t*>(MapViewOfFile(g.mapping, FILE_MAP_ALL_ACCESS, 0, 0, tabshare::kBlockSize));
  if (g.view != nullptr) Line("block open");
  return g.view != nullptr;
}

class Locked {
 public:
  Locked() {
    const DWORD r = WaitForSingleObject(g.mutex, INFINITE);
    ok_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
  }
  ~Locked() {
    if (ok_) ReleaseMutex(g.mutex);
  }
  bool Ok() const { return ok_; }

 private:
  bool ok_ = false;
};

void PrintPacket(uint32_t index, const pen::RingSlot& s) {
  ++g.packets;
  if (g.anySerial && s.serial != g.lastSerial + 1) {
    ++g.gaps;
    Line("gap after serial %lu: %lu", static_cast<unsigned long>(g.lastSerial), static_cast<unsigned long>(s.serial));
  }
  g.anySerial = true;
  g.lastSerial = s.serial;
  Line("packet slot=%lu serial=%lu status=%02X x=%u y=%u pressure=%u tilt=%d,%d time=%lu",
       static_cast<unsigned long>(index), static_cast<unsigned long>(s.serial), s.packet.Status(), s.packet.X(),
       s.packet.Y(), s.packet.Pressure(), s.packet.TiltA(), s.packet.TiltB(), static_cast<unsigned long>(s.time));
}

// Takes what is there for this process, oldest first.
void Consume() {
  if (!g.options.consume || !OpenBlock()) return;
  Locked lock;
  if (!lock.Ok()) return;
  TSharedBlock block(g.view, tabshare::kBlockSize);
  const DWORD target = block.TargetProcess();
  if (target != g.process) {
    if (target != g.foreignProcess) Line("packets are for process %lu", static_cast<unsigned long>(target));
    g.foreignProcess = target;
    return;
  }
  g.foreignProcess = 0;
  uint32_t tail = block.TailIndex();
  const uint32_t head = block.HeadIndex();
  while (tail != head) {
    PrintPacket(tail, block.ReadSlot(tail));
    tail = TSharedBlock::NextIndex(tail);
  }
  block.SetTail(tail);
}

void OnMessageA(WPARAM wp, LPARAM lp) {
  if (lp == tabshare::kNotifyPacket) {
    ++g.notices;
    if (!g.options.consume && OpenBlock()) {
      Locked lock;
      if (!lock.Ok()) return;
      const TSharedBlock block(g.view, tabshare::kBlockSize);
      Line("notice serial=%lu pid=%lu tail=%lu head=%lu", static_cast<unsigned long>(wp),
           static_cast<unsigned long>(block.TargetProcess()), static_cast<unsigned long>(block.Tail()),
           static_cast<unsigned long>(block.Head()));
      return;
    }
    Line("notice serial=%lu", static_cast<unsigned long>(wp));
    Consume();
  } else if (lp == tabshare::kNotifySelected && wp == 0) {
    Line("selected");
    Consume();
  } else if (lp == tabshare::kNotifyDeselected && wp == 0) {
    Line("deselected");
  } else {
    Line("message A wparam=%llu lparam=%lld", static_cast<unsigned long long>(wp), static_cast<long long>(lp));
  }
}

void DumpRing() {
  if (!OpenBlock()) return;
  Locked lock;
  const TSharedBlock block(g.view, tabshare::kBlockSize);
  Line("header pid=%lu tail=%lu head=%lu", static_cast<unsigned long>(block.TargetProcess()),
       static_cast<unsigned long>(block.Tail()), static_cast<unsigned long>(block.Head()));
  for (uint32_t i = 0; i < tabshare::kSlots; ++i) {
    const pen::RingSlot s = block.ReadSlot(i);
    Line("slot %lu serial=%lu status=%02X", static_cast<unsigned long>(i), static_cast<unsigned long>(s.serial),
         s.packet.Status());
  }
}

bool Register() {
  if (g.service == nullptr) g.service = FindWindowA(kServiceClass, kServiceCaption);
  if (g.service == nullptr) return false;
  PostMessageA(g.service, g.messageA, reinterpret_cast<WPARAM>(g.window), static_cast<LPARAM>(g.process));
  if (g.options.flag) PostMessageA(g.service, g.messageB, reinterpret_cast<WPARAM>(g.window), 0);
  Line("registered with the service window %p", static_cast<void*>(g.service));
  if (g.options.front) {
    SetForegroundWindow(g.window);
    // Windows raises this itself when the foreground changes; raised again
    // it changes nothing there, and it reaches the service's watch on
    // systems that leave it out.
    NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, g.window, OBJID_WINDOW, CHILDID_SELF);
    Line("in front");
  }
  return true;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != 0 && msg == g.messageA) {
    OnMessageA(wp, lp);
    return 0;
  }
  switch (msg) {
    case WM_TIMER:
      if (wp == kEndTimer) {
        PostQuitMessage(0);
      } else if (wp == kPollTimer) {
        if (g.service == nullptr) Register();
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
  g.messageA = RegisterWindowMessageA(tabshare::kMessageAName);
  g.messageB = RegisterWindowMessageA(tabshare::kMessageBName);

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
  SetConsoleCtrlHandler(&OnConsoleCtrl, TRUE);
  Line("client window %p process %lu", static_cast<void*>(g.window), static_cast<unsigned long>(g.process));
  if (g.options.atOnce) {
    Line("waiting for the service");
    std::fflush(g.out);
    while (FindWindowA(kServiceClass, kServiceCaption) == nullptr) Sleep(1);
  }
  // Until the service is there, the poll timer keeps looking for it.
  if (!Register()) Line("waiting for the service");
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
  Line("summary packets=%u notices=%u gaps=%u", g.packets, g.notices, g.gaps);
  DestroyWindow(g.window);
  if (g.view != nullptr) UnmapViewOfFile(g.view);
  if (g.mapping != nullptr) CloseHandle(g.mapping);
  if (g.mutex != nullptr) CloseHandle(g.mutex);
  if (g.out != stdout) std::fclose(g.out);
  return 0;
}
