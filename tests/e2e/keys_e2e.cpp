// The tablet keys, the wheel and the soft keys of the real service program:
// what a focused window receives, the definitions file it writes, and the
// programs it only notes in a test run.
#include "PenHostRun.h"
#include "tests/support/win32/KeyWindow.h"

namespace e2e {
namespace {

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

TEST_F(PenHostRun, AnUnplugWithTwoKeysAndPenButtonOneHeldReleasesThemAllInTheFocusedWindow) {
  DeleteFileA((dir + "\\R711Def.bin").c_str());
  pen::test::KeyWindow window;
  ASSERT_TRUE(WaitFor([&] { return window.Focused(); }, 5000));
  // The pen hovers over the window's middle: the right button acts where
  // the pointer is.
  RECT r;
  GetWindowRect(window.Handle(), &r);
  const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int vw = GetSystemMetrics(SM_CXVIRTUALSCREEN), vh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  pen::DigitizerSample s;
  s.x = static_cast<uint16_t>(((r.left + r.right) / 2 - vx) * 4095 / vw);
  s.y = static_cast<uint16_t>(((r.top + r.bottom) / 2 - vy) * 4095 / vh);
  s.rawPressure = 1800;  // hovering, the tip up
  pen::TTabletRecording rec = Idle();
  for (int i = 0; i < 10; ++i) {
    auto hover = pen::EncodeDigitizerReport(s);
    rec.AddReport(i == 0 ? 3000 : 8, pen::TabletInterface::B, hover.data(), hover.size());
  }
  // Pen button 1 with key 4 (slot 10: Ctrl alone) and key 10 (slot 0: E).
  s.sideValue = 4;
  s.keysDown = 1u << 3 | 1u << 9;
  for (int i = 0; i < 3; ++i) {
    auto held = pen::EncodeDigitizerReport(s);
    rec.AddReport(8, pen::TabletInterface::B, held.data(), held.size());
  }
  rec.AddUnplug(800);
  rec.AddWait(1500);
  Start(SaveRecording(rec), "--no-launch");
  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "tablet disconnected") > 0; }, 30000)) << ReadAll(trace);
  WaitFor([] { return false; }, 500);  // what the release sent arrives
  EXPECT_EQ(window.keys, (std::vector<std::string>{"down 17/29", "down 69/18", "up 17/29", "up 69/18"}))
      << ReadAll(trace);
  EXPECT_EQ(window.mouse, (std::vector<std::string>{"right down", "right up"})) << ReadAll(trace);
  for (int vk : {VK_CONTROL, VK_SHIFT, VK_MENU, VK_RBUTTON, int{'E'}}) {
    EXPECT_EQ(GetKeyState(vk) & 0x8000, 0) << vk;
  }
  EXPECT_EQ(Stop(), 0);
}

TEST_F(PenHostRun, ClosingTheServiceWhileAKeyIsHeldReleasesIt) {
  DeleteFileA((dir + "\\R711Def.bin").c_str());
  pen::test::KeyWindow window;
  ASSERT_TRUE(WaitFor([&] { return window.Focused(); }, 5000));
  pen::TTabletRecording rec = Idle();
  auto ctrl = pen::EncodeVendorKeyPacket(1u << 3, 0);  // key 4: slot 10, Ctrl alone
  rec.AddReport(3000, pen::TabletInterface::A, ctrl.data(), ctrl.size());
  rec.AddWait(60000);  // still held when the service is closed
  Start(SaveRecording(rec), "--no-launch");
  ASSERT_TRUE(WaitFor([&] { return window.keys.size() == 1; }, 30000)) << ReadAll(trace);
  EXPECT_EQ(Stop(), 0);
  WaitFor([] { return false; }, 500);
  EXPECT_EQ(window.keys, (std::vector<std::string>{"down 17/29", "up 17/29"})) << ReadAll(trace);
  EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);
}

}  // namespace
}  // namespace e2e
