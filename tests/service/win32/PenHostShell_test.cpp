#include <windows.h>

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstddef>
#include <string>

#include "common/win32/Win32Clock.h"
#include "service/win32/PowerWatcher.h"
#include "service/win32/TrayIcon.h"
#include "service/win32/Win32HostShell.h"
#include "support/HostRig.h"

namespace pen::test {
namespace {

using pen::win32::TPowerWatcher;
using pen::win32::Win32Clock;
using pen::win32::TWin32HostShell;
using pen::win32::TWin32TrayIcon;

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) continue;
    DispatchMessageA(&m);
  }
}

// Runs the loop until WM_QUIT; false if it did not come within `ms`.
bool LoopUntilQuit(DWORD ms) {
  const DWORD start = GetTickCount();
  MSG m;
  while (GetTickCount() - start < ms) {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) return true;
      DispatchMessageA(&m);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return false;
}

// The host core on fakes, behind the real hidden window.
class HostWindow : public ::testing::Test, protected HostRig<FakeClock> {
 protected:
  Win32Clock realClock;  // waits that really run the window's messages
  TWin32HostShell hostShell;
  std::unique_ptr<TPenHostMain> host;

  void SetUp() override {
    ASSERT_TRUE(hostShell.Create());
    Attach(clock);
  }
  void Attach(IClock& waits) {
    host = std::make_unique<TPenHostMain>(Parts({.shell = &hostShell, .clock = &waits}));
    hostShell.SetHost(host.get());
  }
  void TearDown() override {
    hostShell.Destroy();
    hostShell.SetHost(nullptr);
    Pump();
  }
};

TEST_F(HostWindow, IsFoundByClassAndCaptionAndHasNoTaskbarButton) {
  HWND found = FindWindowA("TPenHostMain", "70ea8e50-29b4-4832-b9f3-c75409347c2e");
  EXPECT_EQ(found, hostShell.Window());
  EXPECT_FALSE(IsWindowVisible(found));
  EXPECT_TRUE(GetWindowLongPtrA(found, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

TEST_F(HostWindow, CommandsWaitUntilTheHostHasStarted) {
  HWND w = FindWindowA("TPenHostMain", "70ea8e50-29b4-4832-b9f3-c75409347c2e");
  PostMessageA(w, WM_USER + 101, 0, 4);
  Pump();
  EXPECT_TRUE(device.log.empty());
  host->Start();
  device.log.clear();
  PostMessageA(w, WM_USER + 101, 0, 4);
  Pump();
  EXPECT_EQ(device.log, (std::vector<std::string>{"mode 3"}));
}

TEST_F(HostWindow, PostedCommandsAndRotationReachTheHostAndHostileValuesAreHarmless) {
  host->Start();
  device.log.clear();
  HWND w = hostShell.Window();
  PostMessageA(w, WM_USER + 101, static_cast<WPARAM>(-12), 1);
  PostMessageA(w, WM_USER + 101, 0, static_cast<LPARAM>(-1));
  PostMessageA(w, WM_USER + 101, ~WPARAM{0}, static_cast<LPARAM>(~0ull >> 1));
  PostMessageA(w, WM_USER + 102, ~WPARAM{0}, ~LPARAM{0});
  PostMessageA(w, WM_USER + 500, ~WPARAM{0}, ~LPARAM{0});
  Pump();
  EXPECT_EQ(device.pressure, -12);
  EXPECT_EQ(device.rotation, 0);  // 0xFF is above 3
  EXPECT_EQ(device.log, (std::vector<std::string>{"params -12", "write rotation 0"}));
}

TEST_F(HostWindow, CloseEndsTheMessageLoopWithoutStoppingTheTablet) {
  host->Start();
  PostMessageA(hostShell.Window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(LoopUntilQuit(5000));
  EXPECT_TRUE(IsWindow(hostShell.Window()));
  EXPECT_EQ(device.Count("mode 0"), 0u);
}

TEST_F(HostWindow, CloseAfterEndsTheLoopByItself) {
  host->Start();
  hostShell.CloseAfter(50);
  EXPECT_TRUE(LoopUntilQuit(10000));
}

// The window exists before the host: the device link's start runs messages
// for a second or more in between.
class HostWindowBeforeHost : public HostWindow {
 protected:
  void SetUp() override { ASSERT_TRUE(hostShell.Create()); }
};

TEST_F(HostWindowBeforeHost, ADisplayChangeBeforeTheHostExistsReachesItThroughTheTimer) {
  SendMessageA(hostShell.Window(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
  Attach(clock);
  host->Start();
  const DWORD start = GetTickCount();
  while (pointer.refreshes == 0 && GetTickCount() - start < 5000) {
    Pump();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  EXPECT_EQ(pointer.refreshes, 1);
}

TEST_F(HostWindowBeforeHost, AFloodOfShowRequestsFromAnotherProgramShowsTheSettingsOnce) {
  Attach(realClock);
  host->Start();
  device.log.clear();
  for (int i = 0; i < 300; ++i) PostMessageA(hostShell.Window(), WM_USER + 100, 0, 0);
  Pump();  // the first request's 200 ms wait runs all the others
  EXPECT_EQ(window.shows, 1);
  EXPECT_EQ(device.Count("mode 3"), 1u);
  PostMessageA(hostShell.Window(), WM_USER + 100, 0, 0);
  Pump();
  EXPECT_EQ(window.shows, 2);
}

TEST_F(HostWindow, DestroyClosesTheTabletInterfaces) {
  host->Start();
  hostShell.Destroy();
  EXPECT_EQ(device.Count("close"), 1u);
  EXPECT_TRUE(LoopUntilQuit(1000));
}

// --- power watcher -----------------------------------------------------------

struct PowerSeen {
  std::vector<TMonitorPower> events;
  void On(TMonitorPower p) { events.push_back(p); }
};

struct Setting {
  GUID guid;
  DWORD length;
  UCHAR data[4];
};

LRESULT SendSetting(HWND w, const GUID& guid, UCHAR value) {
  Setting s{guid, 4, {value, 0, 0, 0}};
  static_assert(offsetof(Setting, data) == offsetof(POWERBROADCAST_SETTING, Data));
  return SendMessageA(w, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&s));
}

constexpr GUID kMonitorPower = {0x02731015, 0x4510, 0x4526, {0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA}};

TEST(PowerWatcher, ReportsMonitorOffAndOnForTheMonitorPowerSettingOnly) {
  TPowerWatcher watcher;
  PowerSeen seen;
  watcher.OnMonitorPowerChanged = Event<TMonitorPower>::Bind<&PowerSeen::On>(&seen);
  ASSERT_NE(watcher.Window(), nullptr);
  SendSetting(watcher.Window(), kMonitorPower, 0);
  SendSetting(watcher.Window(), kMonitorPower, 2);
  GUID other = kMonitorPower;
  other.Data1 ^= 1;
  SendSetting(watcher.Window(), other, 0);
  SendMessageA(watcher.Window(), WM_POWERBROADCAST, 0x000A, 0);
  EXPECT_EQ(seen.events, (std::vector<TMonitorPower>{TMonitorPower::PoOff, TMonitorPower::PoOn}));
}

TEST(PowerWatcher, AForgedNotificationWithAWildPointerIsIgnored) {
  TPowerWatcher watcher;
  PowerSeen seen;
  watcher.OnMonitorPowerChanged = Event<TMonitorPower>::Bind<&PowerSeen::On>(&seen);
  for (LPARAM wild : {LPARAM{1}, LPARAM{0x10}, static_cast<LPARAM>(~0ull >> 4), LPARAM{0}}) {
    SendMessageA(watcher.Window(), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, wild);
    PostMessageA(watcher.Window(), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, wild);
  }
  Pump();
  EXPECT_TRUE(seen.events.empty());
}

// --- tray icon -------------------------------------------------------------------

TEST(TrayIcon, HasTwoDistinctIconsAndStartsWithTheNoTabletOne) {
  TWin32TrayIcon tray;
  EXPECT_NE(tray.Icon(0), nullptr);
  EXPECT_NE(tray.Icon(1), nullptr);
  EXPECT_NE(tray.Icon(0), tray.Icon(1));
  EXPECT_EQ(tray.Index(), 1);
  tray.SetIndex(7);  // anything but 0 means no tablet
  EXPECT_EQ(tray.Index(), 1);
  tray.SetIndex(0);
  EXPECT_EQ(tray.Index(), 0);
}

struct Clicks {
  int shows = 0;
  void Show() { ++shows; }
};

struct Lost {
  int count = 0;
  void On() { ++count; }
};

// A shell that answers the tray calls as a test sets it: "a" accepted,
// "m" modified, "-" refused; every call is recorded.
struct ScriptedShell {
  static inline bool accepts = true;
  static inline bool hasIcon = false;
  static inline std::string calls;
  static BOOL WINAPI Notify(DWORD action, PNOTIFYICONDATAW) {
    if (action == NIM_ADD) {
      const bool added = accepts && !hasIcon;
      calls += added ? "a" : "-";
      hasIcon = hasIcon || added;
      return added;
    }
    if (action == NIM_MODIFY) {
      const bool modified = accepts && hasIcon;
      calls += modified ? "m" : "-";
      return modified;
    }
    if (action == NIM_DELETE) hasIcon = false;
    return TRUE;
  }
};

void AnnounceRestartedShell(HWND trayWindow) {
  SendMessageA(trayWindow, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
}

// A tray icon on the scripted shell, added while the shell accepts it.
class ScriptedTray : public ::testing::Test {
 protected:
  TWin32TrayIcon tray{&ScriptedShell::Notify};
  Lost lost;
  void SetUp() override {
    ScriptedShell::accepts = true;
    ScriptedShell::hasIcon = false;
    tray.onLost = Event<>::Bind<&Lost::On>(&lost);
    ASSERT_TRUE(tray.Enable());
    ScriptedShell::calls.clear();
  }
};

TEST_F(ScriptedTray, AnIconTheRestartedShellRefusesCountsAsLostUntilTheRetryAddsItAgain) {
  // The shell restarted without its icons and is not ready yet.
  ScriptedShell::hasIcon = false;
  ScriptedShell::accepts = false;
  AnnounceRestartedShell(tray.Window());
  EXPECT_FALSE(tray.Enabled());
  EXPECT_EQ(lost.count, 1);
  EXPECT_FALSE(tray.Enable());  // a retry while it still refuses

  ScriptedShell::accepts = true;
  ScriptedShell::calls.clear();
  EXPECT_TRUE(tray.Enable());
  EXPECT_EQ(ScriptedShell::calls, "a");
}

TEST_F(ScriptedTray, AShellThatAnnouncesItselfButStillShowsTheIconKeepsIt) {
  AnnounceRestartedShell(tray.Window());
  EXPECT_EQ(ScriptedShell::calls, "-m");  // the add is refused, the icon is there
  EXPECT_TRUE(tray.Enabled());
  EXPECT_EQ(lost.count, 0);
}

TEST(TrayIcon, TheRealShellKeepsAnIconItStillShowsWhenItAnnouncesItself) {
  TWin32TrayIcon tray;
  if (!tray.Enable()) GTEST_SKIP() << "no notification area on this display";
  AnnounceRestartedShell(tray.Window());
  EXPECT_TRUE(tray.Enabled());
}

TEST(TrayIcon, ALeftDoubleClickShowsTheSettings) {
  TWin32TrayIcon tray;
  Clicks clicks;
  tray.onShow = Event<>::Bind<&Clicks::Show>(&clicks);
  SendMessageA(tray.Window(), TWin32TrayIcon::kCallbackMessage, 1, WM_LBUTTONDBLCLK);
  SendMessageA(tray.Window(), TWin32TrayIcon::kCallbackMessage, 1, WM_MOUSEMOVE);
  EXPECT_EQ(clicks.shows, 1);
}

}  // namespace
}  // namespace pen::test
