// Runs the real service program under the virtual tablet and checks what it
// does from the outside: its window, its settings file, the feature reports
// the tablet receives, the trace and the system cursor.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "pipeline/DemoSession.h"
#include "pipeline/TabletRecording.h"
#include "tests/support/win32/KeyWindow.h"

namespace {

std::string g_penhost;  // Windows path of penhost.exe
std::string g_workRoot;

constexpr const char* kClass = "TPenHostMain";
constexpr const char* kCaption = "70ea8e50-29b4-4832-b9f3-c75409347c2e";
constexpr UINT kShowSettings = WM_USER + 100;
constexpr UINT kServiceCommand = WM_USER + 101;

std::string WindowsPath(std::string p) {
  if (!p.empty() && p[0] == '/') p = "Z:" + p;  // Wine's drive for the Unix root
  for (char& c : p) {
    if (c == '/') c = '\\';
  }
  return p;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    out.push_back(l);
  }
  return out;
}

size_t CountOf(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// One feature report as the virtual tablet logged it.
struct Feature {
  unsigned long tick = 0;
  std::string bytes;  // "08 03 00 FF ..."
};

std::vector<Feature> Features(const std::string& path) {
  std::vector<Feature> out;
  for (const std::string& l : Lines(ReadAll(path))) {
    const size_t space = l.find(' ');
    if (space == std::string::npos) continue;
    out.push_back({std::stoul(l.substr(0, space)), l.substr(space + 1)});
  }
  return out;
}

// Waits with this thread's messages flowing, so that its windows receive
// what the service sends them meanwhile.
bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    Sleep(20);
  }
  return true;
}

// A private copy of the program per test, so that each starts from its own
// settings file.
class PenHostRun : public ::testing::Test {
 protected:
  std::string dir, exe, trace, features;
  PROCESS_INFORMATION pi{};

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = g_workRoot + "\\" + info->name();
    CreateDirectoryA(g_workRoot.c_str(), nullptr);
    CreateDirectoryA(dir.c_str(), nullptr);
    exe = dir + "\\penhost.exe";
    trace = dir + "\\trace.txt";
    features = dir + "\\features.txt";
    ASSERT_TRUE(CopyFileA(g_penhost.c_str(), exe.c_str(), FALSE)) << g_penhost;
    const std::string from = g_penhost.substr(0, g_penhost.find_last_of('\\') + 1) + "padlink_vc.dll";
    CopyFileA(from.c_str(), (dir + "\\padlink_vc.dll").c_str(), FALSE);  // optional
    DeleteFileA((dir + "\\TSetting.ini").c_str());
    DeleteFileA(trace.c_str());
    DeleteFileA(features.c_str());
  }

  void TearDown() override {
    if (pi.hProcess) {
      if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        if (HWND w = FindWindowA(kClass, kCaption)) PostMessageA(w, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 15000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 9);
      }
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
  }

  std::string SaveRecording(const pen::TTabletRecording& rec) {
    const std::string path = dir + "\\session.txt";
    EXPECT_TRUE(rec.SaveFile(path));
    return path;
  }

  PROCESS_INFORMATION Launch(const std::string& args) {
    std::string cmd = "\"" + exe + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION p{};
    EXPECT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &p))
        << cmd;
    return p;
  }

  // Starts the service and waits until it has set the tablet up.
  void Start(const std::string& recording, const std::string& extra = "") {
    pi = Launch("--virtual-tablet=\"" + recording + "\" --trace=\"" + trace + "\" --feature-log=\"" + features +
                "\" " + extra);
    const bool up = WaitFor([&] { return CountOf(ReadAll(trace), "service running") == 1; }, 30000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(pi.hProcess, &code);
    ASSERT_TRUE(up) << "exit code " << code << " (" << STILL_ACTIVE << ": still running), trace:\n"
                    << ReadAll(trace);
  }

  HWND Window() { return FindWindowA(kClass, kCaption); }

  // Posts a command, then the harmless command 10 as a marker, and waits
  // until the marker has been handled: so has everything before it.
  void CommandAndSettle(int code, WPARAM arg) {
    const size_t before = Features(features).size();
    PostMessageA(Window(), kServiceCommand, arg, code);
    PostMessageA(Window(), kServiceCommand, 0, 10);
    ASSERT_TRUE(WaitFor(
        [&] {
          // The trace notes a command once all it sent has reached the tablet.
          return CountOf(ReadAll(trace), "command 10 handled") >= markers + 1 && Features(features).size() > before;
        },
        20000));
    ++markers;
  }

  int Stop() {
    PostMessageA(Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    return static_cast<int>(code);
  }

  size_t markers = 0;
};

// The R711 factory definitions file, byte for byte.
std::string R711Definitions() {
  const unsigned char table[] = {0, 69, 0, 66, 1, 189, 1, 187, 0, 219, 0, 221, 0, 5,
                                 0, 9, 0, 6,  0, 32,  1, 0,   2, 0,   1, 29,  0, 2};
  std::string bytes(reinterpret_cast<const char*>(table), sizeof table);
  bytes.resize(64, '\0');
  return bytes;
}

pen::TTabletRecording Idle() {
  pen::TTabletRecording rec;
  rec.identity.version = 0x2201;
  rec.identity.product = "[R711]Pen Tablet";
  return rec;
}

TEST_F(PenHostRun, ASecondStartShowsTheRunningInstanceAndEndsAtOnce) {
  Start(SaveRecording(Idle()));
  ASSERT_NE(Window(), nullptr);
  const size_t modeReportsBefore = CountOf(ReadAll(features), " 08 03 ");
  PROCESS_INFORMATION second = Launch("--virtual-tablet");
  EXPECT_EQ(WaitForSingleObject(second.hProcess, 15000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(second.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(second.hProcess);
  CloseHandle(second.hThread);
  // The running one shows its settings, which puts the tablet in full mode.
  EXPECT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "show settings") == 1; }, 10000)) << ReadAll(trace);
  EXPECT_TRUE(WaitFor([&] { return CountOf(ReadAll(features), " 08 03 ") > modeReportsBefore; }, 10000));
  EXPECT_EQ(Stop(), 0);
}

TEST_F(PenHostRun, ServiceCommandsReachTheTabletAndOnlyApplyWritesTheSettingsFile) {
  // A file the program will keep until told to apply: Smoothness is always
  // stored as 0 on apply.
  const std::string ini = dir + "\\TSetting.ini";
  {
    std::ofstream f(ini, std::ios::binary);
    f << "[MainItem]\r\nInkMode=1\r\nSmoothness=2\r\nLeftHandMode=0\r\n[Mapping]\r\nScreenMapLeft=0\r\n"
         "ScreenMapTop=0\r\nScreenMapRight=4095\r\nScreenMapBottom=4095\r\nTabletMapLeft=0\r\nTabletMapTop=0\r\n"
         "TabletMapRight=4095\r\nTabletMapBottom=4095\r\n";
  }
  const std::string original = ReadAll(ini);
  Start(SaveRecording(Idle()));

  // Command 1 with the stored value (0) sends nothing.
  size_t before = Features(features).size();
  CommandAndSettle(1, 0);
  auto f = Features(features);
  ASSERT_EQ(f.size(), before + 1);  // only the marker's mode report

  // Left-hand on: the flags report says 3.
  CommandAndSettle(8, 1);
  f = Features(features);
  EXPECT_EQ(f[f.size() - 2].bytes, "08 06 01 03 00 00 00 00");

  // Areas: 5 re-sends the mode with the (unchanged) area; 7 sends nothing.
  before = Features(features).size();
  CommandAndSettle(5, 0);
  f = Features(features);
  ASSERT_EQ(f.size(), before + 2);
  EXPECT_EQ(f[f.size() - 2].bytes, "08 03 00 FF F0 00 FF F0");
  before = f.size();
  CommandAndSettle(7, 0);
  EXPECT_EQ(Features(features).size(), before + 1);

  // Pressure 17: the parameters report carries it; memory is not written.
  CommandAndSettle(1, 17);
  f = Features(features);
  const std::string params = f[f.size() - 2].bytes;
  EXPECT_EQ(params.substr(0, 5), "08 04");
  EXPECT_EQ(params.substr(12, 5), "00 11");  // after the self-defined key
  EXPECT_EQ(ReadAll(ini), original);

  // Every report at least 300 ms after the one before.
  for (size_t i = 1; i < f.size(); ++i) EXPECT_GE(f[i].tick - f[i - 1].tick, 300u) << i;

  // Apply writes the file.
  PostMessageA(Window(), kServiceCommand, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return ReadAll(ini) != original; }, 20000));
  EXPECT_EQ(GetPrivateProfileIntA("MainItem", "Smoothness", -1, ini.c_str()), 0);
  EXPECT_EQ(GetPrivateProfileIntA("MainItem", "InkMode", -1, ini.c_str()), 1);
  EXPECT_EQ(Stop(), 0);
  for (const Feature& r : Features(features)) EXPECT_NE(r.bytes.rfind("08 00", 0), 0u) << "closing sent mode 0";
}

TEST_F(PenHostRun, PlugUnplugPlugIsHandledOnceEachWayAndTheModeIsResent) {
  pen::TTabletRecording rec = Idle();
  rec.startUnplugged = true;
  rec.AddPlug(300);
  rec.AddUnplug(2500);
  rec.AddPlug(1500);
  rec.AddWait(2500);
  Start(SaveRecording(rec));
  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "tablet connected") == 2; }, 30000)) << ReadAll(trace);
  Sleep(1500);
  const std::string t = ReadAll(trace);
  EXPECT_EQ(CountOf(t, "tablet connected: model R711, firmware 2201, capability 01"), 2u) << t;
  EXPECT_EQ(CountOf(t, "tablet disconnected"), 1u) << t;
  // The last mode goes to the tablet again after the second plug.
  const std::string secondConnect = t.substr(t.rfind("tablet connected"));
  EXPECT_NE(secondConnect.find("send mode report: mode 3"), std::string::npos) << t;
  EXPECT_EQ(Stop(), 0);
}

TEST_F(PenHostRun, APenStrokeMovesTheCursorToTheMappedPlaceAndClicksOnce) {
  pen::TTabletRecording rec = Idle();
  pen::DigitizerSample s;
  s.rawPressure = 1800;  // in the air
  auto add = [&rec](uint32_t delay, const pen::DigitizerSample& sample) {
    auto r = pen::EncodeDigitizerReport(sample);
    rec.AddReport(delay, pen::TabletInterface::B, r.data(), r.size());
  };
  s.x = 1000;
  s.y = 1000;
  for (int i = 0; i < 10; ++i) add(i == 0 ? 2500 : 8, s);
  for (int i = 0; i < 60; ++i) {
    s.x = static_cast<uint16_t>(1000 + i * 30);
    s.y = static_cast<uint16_t>(1000 + i * 20);
    s.rawPressure = i < 50 ? 1000 : 1800;
    add(8, s);
  }
  for (int i = 0; i < 30; ++i) add(8, s);  // rest in the air at the end
  const uint16_t endX = s.x, endY = s.y;
  rec.AddWait(1000);
  Start(SaveRecording(rec));
  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "report B #100:") == 1; }, 30000)) << ReadAll(trace);
  Sleep(500);
  const std::string t = ReadAll(trace);
  EXPECT_EQ(CountOf(t, "left button down"), 1u);
  EXPECT_EQ(CountOf(t, "left button up"), 1u);
  EXPECT_LT(t.find("left button down"), t.find("left button up"));

  POINT at{};
  ASSERT_TRUE(GetCursorPos(&at));
  const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const double wantX = GetSystemMetrics(SM_XVIRTUALSCREEN) + endX * static_cast<double>(w) / 4095.0;
  const double wantY = GetSystemMetrics(SM_YVIRTUALSCREEN) + endY * static_cast<double>(h) / 4095.0;
  EXPECT_NEAR(at.x, wantX, 3.0) << "screen " << w << "x" << h;
  EXPECT_NEAR(at.y, wantY, 3.0) << "screen " << w << "x" << h;
  EXPECT_EQ(Stop(), 0);
}

TEST_F(PenHostRun, AnR711KeyAndAZoomWheelStepReachTheFocusedWindow) {
  {
    std::ofstream f(dir + "\\TabletWheel.ini", std::ios::binary);
    f << "[EnableItem]\r\nMouseWheelEnabled=0\r\nZoomEnabled=1\r\nRotateCanvasEnabled=0\r\nUndoRedoEnabled=0\r\n"
         "VolumeEnabled=0\r\n[KeyDefine]\r\nZoomRLeft.extraKey=1\r\nZoomRLeft.MainKey=189\r\n"
         "ZoomRRight.extraKey=1\r\nZoomRRight.MainKey=187\r\n";
  }
  DeleteFileA((dir + "\\R711Def.bin").c_str());
  pen::TTabletRecording rec = Idle();
  auto keyDown = pen::EncodeVendorKeyPacket(1u << 9, 0);  // key 10: slot 0, the E key
  auto keyUp = pen::EncodeVendorKeyPacket(0, 0);
  auto wheelLeft = pen::EncodeVendorKeyPacket(0, 0xFF);   // one step to the left
  rec.AddReport(3000, pen::TabletInterface::A, keyDown.data(), keyDown.size());
  rec.AddReport(150, pen::TabletInterface::A, keyUp.data(), keyUp.size());
  rec.AddReport(500, pen::TabletInterface::A, wheelLeft.data(), wheelLeft.size());
  rec.AddWait(1500);
  pen::test::KeyWindow window;
  ASSERT_TRUE(WaitFor([&] { return window.Focused(); }, 5000));
  Start(SaveRecording(rec), "--no-launch");
  ASSERT_TRUE(WaitFor([&] { return window.keys.size() >= 6; }, 30000)) << ReadAll(trace);
  WaitFor([] { return false; }, 300);  // nothing more arrives
  EXPECT_EQ(window.keys, (std::vector<std::string>{"down 69/18", "up 69/18", "down 17/29", "down 189/12",
                                                   "up 189/12", "up 17/29"}))
      << ReadAll(trace);
  const std::string t = ReadAll(trace);
  EXPECT_EQ(CountOf(t, "tablet button 9 down: E (modifiers 0, key 69)"), 1u) << t;
  EXPECT_EQ(CountOf(t, "wheel step -1: Zoom"), 1u) << t;
  EXPECT_EQ(CountOf(t, "wheel Zoom left: Ctrl + - (shift state 4, key 189)"), 1u) << t;
  EXPECT_EQ(ReadAll(dir + "\\R711Def.bin"), R711Definitions());
  EXPECT_EQ(Stop(), 0);
}

TEST_F(PenHostRun, AnR9270RecreatesR711DefAndASoftKeyProgramIsTracedNotStarted) {
  DeleteFileA((dir + "\\R711Def.bin").c_str());
  pen::TTabletRecording rec = Idle();
  rec.identity.product = "[R9270]Pen Tablet";
  // The tip pressed on the strip above the active area over soft key 8
  // ((3500 + 160) div 430), then lifted.
  pen::DigitizerSample s;
  s.x = 3500;
  s.y = 0xFFF0;
  s.rawPressure = 1000;
  for (int i = 0; i < 6; ++i) {
    auto r = pen::EncodeDigitizerReport(s);
    rec.AddReport(i == 0 ? 2500 : 8, pen::TabletInterface::B, r.data(), r.size());
  }
  s.rawPressure = 1800;
  for (int i = 0; i < 6; ++i) {
    auto r = pen::EncodeDigitizerReport(s);
    rec.AddReport(8, pen::TabletInterface::B, r.data(), r.size());
  }
  rec.AddWait(1000);
  Start(SaveRecording(rec), "--no-launch");
  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "soft key 8") > 0; }, 30000)) << ReadAll(trace);
  WaitFor([] { return false; }, 300);
  const std::string t = ReadAll(trace);
  EXPECT_EQ(CountOf(t, "tablet connected: model R9270"), 1u) << t;
  EXPECT_EQ(CountOf(t, "soft key 8: calculator"), 1u) << t;
  EXPECT_EQ(CountOf(t, "program calc.exe (verb open): not started in a test run"), 1u) << t;
  EXPECT_EQ(ReadAll(dir + "\\R711Def.bin"), R711Definitions());
  EXPECT_EQ(Stop(), 0);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: penhost_e2e PENHOST.EXE WORK-FOLDER\n");
    return 2;
  }
  g_penhost = WindowsPath(argv[1]);
  g_workRoot = WindowsPath(argv[2]);
  return RUN_ALL_TESTS();
}
