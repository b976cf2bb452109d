// Runs the real service program under the virtual tablet and checks what it
// does from the outside: its window, its settings file, the feature reports
// the tablet receives, the trace and the system cursor.
#include "PenHostRun.h"

namespace e2e {
namespace {

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

}  // namespace
}  // namespace e2e

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: penhost_e2e PENHOST.EXE TABCLIENT.EXE WORK-FOLDER\n");
    return 2;
  }
  e2e::g_penhost = e2e::WindowsPath(argv[1]);
  e2e::g_tabclient = e2e::WindowsPath(argv[2]);
  e2e::g_workRoot = e2e::WindowsPath(argv[3]);
  return RUN_ALL_TESTS();
}
