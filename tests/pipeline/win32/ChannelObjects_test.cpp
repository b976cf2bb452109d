// The shared channel's system objects for real: the named block and mutex,
// window look-ups and messages, the timer and the window-event hook.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "common/win32/Win32Beeper.h"
#include "common/win32/Win32WindowTimer.h"
#include "pipeline/HookSysEvent.h"
#include "pipeline/MapFile.h"
#include "pipeline/win32/Win32DesktopWindows.h"
#include "pipeline/win32/Win32MouseInput.h"
#include "pipeline/win32/Win32PerformanceCounter.h"
#include "pipeline/win32/Win32SharedBlock.h"
#include "pipeline/win32/Win32WinEventHook.h"

namespace pen::win32 {
namespace {

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

// A top-level window of this thread that records the messages it gets.
class Recorder {
 public:
  struct Got {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
  };
  explicit Recorder(DWORD style = 0, int w = 100, int h = 100) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Recorder::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ChannelTestRecorder";
    RegisterClassA(&wc);
    window = CreateWindowExA(style & WS_VISIBLE ? WS_EX_TOPMOST : 0, wc.lpszClassName, "recorder", WS_POPUP | style,
                             0, 0, w, h, nullptr, nullptr, wc.hInstance, this);
  }
  ~Recorder() {
    if (window) DestroyWindow(window);
  }
  uintptr_t Handle() const { return reinterpret_cast<uintptr_t>(window); }
  HWND window = nullptr;
  std::vector<Got> got;

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCCREATE) {
      SetWindowLongPtrA(h, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams));
    }
    auto* self = reinterpret_cast<Recorder*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (self && m >= 0xC000) self->got.push_back({m, w, l});
    return DefWindowProcA(h, m, w, l);
  }
};

TEST(Win32SharedBlock, TheNamedBlockAndMutexAreSharedAndTheSecondOpenerFindsThemMade) {
  TWin32SharedBlock first, second;
  SharedBlockView a, b;
  ASSERT_TRUE(first.Open(a));
  ASSERT_TRUE(second.Open(b));
  EXPECT_FALSE(a.existed);
  EXPECT_TRUE(b.existed);
  EXPECT_EQ(a.size, 1744u);
  a.bytes[1743] = 0x5A;
  EXPECT_EQ(b.bytes[1743], 0x5A);

  // One holder at a time, across threads; a wait that runs out comes back
  // empty-handed instead of hanging.
  ASSERT_TRUE(first.Lock(0));
  std::atomic<bool> got{false};
  std::atomic<int> tries{0};
  std::thread other([&] {
    EXPECT_FALSE(second.Lock(0));
    EXPECT_FALSE(second.Lock(50));
    EXPECT_FALSE(second.Lock(INFINITE));  // asked for ever, given up all the same
    tries = 2;
    ASSERT_TRUE(second.Lock(60000));
    got = true;
    second.Unlock();
  });
  while (tries.load() < 2) Sleep(1);
  EXPECT_FALSE(got.load());
  first.Unlock();
  other.join();
  EXPECT_TRUE(got.load());

  // A holder that ends without letting go leaves the mutex to the next.
  std::thread quitter([&] { EXPECT_TRUE(second.Lock(0)); });
  quitter.join();
  EXPECT_TRUE(first.Lock(0));
  first.Unlock();
  first.Close();
  second.Close();
}

TEST(Win32SharedBlock, ABlockAnotherProgramMadeSmallerIsNeverHandedOverPastWhatIsMapped) {
  HANDLE small = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 100, "QUORVEX TABSHARE.DTA");
  ASSERT_NE(small, nullptr);
  TWin32SharedBlock objects;
  SharedBlockView view;
  // Windows refuses the view; where the system maps whole pages anyway, all
  // that is handed over must be readable.
  if (objects.Open(view)) {
    EXPECT_TRUE(view.existed);
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_EQ(VirtualQuery(view.bytes, &info, sizeof info), sizeof info);
    EXPECT_GE(info.RegionSize, view.size);
    EXPECT_LE(view.size, 1744u);
  }
  objects.Close();
  CloseHandle(small);
}

TEST(Win32DesktopWindows, LookUpsAndMessagesReachRealWindows) {
  TWin32DesktopWindows desktop;
  Recorder cover(WS_VISIBLE, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  ASSERT_NE(cover.window, nullptr);
  EXPECT_EQ(desktop.ProcessOf(cover.Handle()), GetCurrentProcessId());
  EXPECT_EQ(desktop.OwnProcess(), GetCurrentProcessId());
  EXPECT_TRUE(desktop.Exists(cover.Handle()));
  EXPECT_EQ(desktop.ProcessOf(0), 0u);
  Pump(100);
  SetCursorPos(20, 20);
  EXPECT_EQ(desktop.WindowUnderCursor(), cover.Handle());

  const uint32_t a = desktop.RegisterMessage("AMBER_HERON_2005");
  EXPECT_EQ(a, RegisterWindowMessageA("AMBER_HERON_2005"));
  desktop.AcceptFromLowerIntegrity(a);
  std::thread reader([&] { desktop.Notify(cover.Handle(), a, 7, 5); });
  reader.join();
  desktop.Post(cover.Handle(), a, 0, 1);
  Pump(100);
  ASSERT_EQ(cover.got.size(), 2u);
  EXPECT_EQ(cover.got[0].wp, 7u);
  EXPECT_EQ(cover.got[0].lp, 5);
  EXPECT_EQ(cover.got[1].lp, 1);

  const uintptr_t gone = cover.Handle();
  DestroyWindow(cover.window);
  cover.window = nullptr;
  EXPECT_FALSE(desktop.Exists(gone));
}

TEST(Win32WindowTimer, StartedFromAnotherThreadItTicksOnTheThreadThatMadeIt) {
  Win32WindowTimer timer;
  struct Ticks {
    std::vector<DWORD> threads;
    void On() { threads.push_back(GetCurrentThreadId()); }
  } ticks;
  timer.SetOnTimer(Event<>::Bind<&Ticks::On>(&ticks));
  std::thread([&] { timer.Start(30); }).join();
  Pump(200);
  ASSERT_GE(ticks.threads.size(), 2u);  // periodic until stopped
  EXPECT_EQ(ticks.threads[0], GetCurrentThreadId());
  std::thread([&] { timer.Stop(); }).join();
  Pump(50);
  const size_t after = ticks.threads.size();
  Pump(150);
  EXPECT_EQ(ticks.threads.size(), after);
}

TEST(Win32WinEventHook, ASystemForegroundEventReachesTheWatchOnTheInstallingThread) {
  TWin32WinEventHook source;
  TWin32DesktopWindows desktop;
  TMyHook hook(source, desktop);
  ASSERT_TRUE(hook.Installed());
  Recorder front(WS_VISIBLE);
  Recorder service;
  hook.SetCommandTarget(service.Handle());
  SetForegroundWindow(front.window);
  // Raised by hand: some systems leave the foreground event out.
  NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, front.window, OBJID_WINDOW, CHILDID_SELF);
  Pump(200);
  EXPECT_EQ(hook.RecordedForeground(), reinterpret_cast<uintptr_t>(GetForegroundWindow()));
  if (GetForegroundWindow() == front.window) {
    EXPECT_TRUE(hook.ForegroundChanged());
  }
  hook.Unhook();
  NotifyWinEvent(EVENT_SYSTEM_MINIMIZEEND, front.window, OBJID_WINDOW, CHILDID_SELF);
  hook.ClearForegroundChanged();
  Pump(100);
  EXPECT_FALSE(hook.ForegroundChanged());
}

TEST(Win32Channel, AClientWindowIsWokenWithTheSerialOnceTheTailMoves) {
  TWin32SharedBlock objects, clientSide;
  TWin32DesktopWindows desktop;
  Win32WindowTimer timer;
  TWin32PerformanceCounter counter;
  Win32Beeper beeper;
  Win32MouseInput mouse;
  TMapFile channel(MapFilePorts{objects, desktop, timer, counter, beeper, mouse, 10});
  ASSERT_TRUE(channel.Publishing());
  Recorder client;
  ASSERT_TRUE(channel.HandleChannelMessage(channel.MessageA(), client.Handle(), GetCurrentProcessId()));
  PenPacket p;
  p.SetStatus(0xC0);
  p.SetX(0x4000);
  std::thread([&] {
    for (int i = 0; i < 65; ++i) channel.PublishPacket(p);
  }).join();
  Pump(100);
  ASSERT_EQ(client.got.size(), 2u);
  EXPECT_EQ(client.got[0].msg, channel.MessageA());
  EXPECT_EQ(client.got[0].wp, 63u);
  EXPECT_EQ(client.got[1].wp, 64u);
  EXPECT_EQ(client.got[1].lp, 5);

  SharedBlockView view;
  ASSERT_TRUE(clientSide.Open(view));
  ASSERT_TRUE(clientSide.Lock(0));
  const TSharedBlock block(view.bytes, view.size);
  EXPECT_EQ(block.TargetProcess(), GetCurrentProcessId());
  EXPECT_EQ(block.Head(), 1u);
  EXPECT_EQ(block.Tail(), 2u);
  EXPECT_EQ(block.ReadSlot(0).serial, 64u);
  clientSide.Unlock();

  // Half a second later the pen has left: one more packet, status 0x80.
  Pump(800);
  ASSERT_TRUE(clientSide.Lock(0));
  EXPECT_EQ(block.Head(), 2u);
  EXPECT_EQ(block.ReadSlot(1).packet.Status(), 0x80);
  clientSide.Unlock();
  clientSide.Close();
}

}  // namespace
}  // namespace pen::win32
