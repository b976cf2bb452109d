// The wheel's windows in the real service program: a long press of an
// R766's wheel centre opens the wheel settings window while it is held,
// a wheel step scrolls it, a short press closes it.
#include "PenHostRun.h"
#include "tests/support/win32/KeyWindow.h"

namespace e2e {
namespace {

TEST_F(PenHostRun, HoldingAnR766WheelCentreOpensTheWheelSettingsWhichAStepScrollsAndAShortPressCloses) {
  DeleteFileA((dir + "\\TabletWheel.ini").c_str());  // a new installation: Volume current
  pen::TTabletRecording rec = Idle();
  rec.identity.product = "[R766]Pen Tablet";
  const auto centre = pen::EncodeVendorKeyPacket(1u << 10, 0);
  const auto none = pen::EncodeVendorKeyPacket(0, 0);
  const auto stepUp = pen::EncodeVendorKeyPacket(0, 0x01);
  rec.AddReport(3000, pen::TabletInterface::A, centre.data(), centre.size());
  rec.AddReport(6000, pen::TabletInterface::A, none.data(), none.size());  // held six seconds
  rec.AddReport(1500, pen::TabletInterface::A, stepUp.data(), stepUp.size());
  rec.AddReport(1500, pen::TabletInterface::A, centre.data(), centre.size());
  rec.AddReport(100, pen::TabletInterface::A, none.data(), none.size());
  rec.AddWait(3000);
  Start(SaveRecording(rec), "--no-launch");
  const std::string fileAtStart = ReadAll(dir + "\\TabletWheel.ini");

  HWND w = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        w = FindWindowW(L"PenWheelSettings", nullptr);
        return w && IsWindowVisible(w);
      },
      20000))
      << ReadAll(trace);
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(r.bottom - r.top, 300);
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(CountOf(ReadAll(trace), "wheel settings closed"), 0u);

  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(w); }, 30000)) << ReadAll(trace);
  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "wheel settings closed") == 1; }, 10000))
      << ReadAll(trace);
  const std::string t = ReadAll(trace);
  EXPECT_EQ(CountOf(t, "wheel settings opened"), 1u) << t;
  EXPECT_EQ(CountOf(t, "wheel settings closed: UndoRedo current"), 1u) << t;
  EXPECT_EQ(CountOf(t, "wheel step"), 0u) << t;  // the step went to the window
  // Nothing but the current function changed: the file stays as it was.
  EXPECT_EQ(ReadAll(dir + "\\TabletWheel.ini"), fileAtStart);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(PenHostRun, AZoomStepSendsCtrlMinusAndShowsTheNoticeOnTopWithoutTakingTheFocusUntilItFadesAway) {
  {
    std::ofstream f(dir + "\\TabletWheel.ini", std::ios::binary);
    f << "[EnableItem]\r\nMouseWheelEnabled=0\r\nZoomEnabled=1\r\nRotateCanvasEnabled=0\r\nUndoRedoEnabled=0\r\n"
         "VolumeEnabled=0\r\n[KeyDefine]\r\nZoomRLeft.extraKey=1\r\nZoomRLeft.MainKey=189\r\n"
         "ZoomRRight.extraKey=1\r\nZoomRRight.MainKey=187\r\n";
  }
  pen::TTabletRecording rec = Idle();
  rec.identity.product = "[R766]Pen Tablet";
  const auto stepLeft = pen::EncodeVendorKeyPacket(0, 0xFF);
  rec.AddReport(3000, pen::TabletInterface::A, stepLeft.data(), stepLeft.size());
  rec.AddWait(5000);
  pen::test::KeyWindow window;
  ASSERT_TRUE(WaitFor([&] { return window.Focused(); }, 5000));
  Start(SaveRecording(rec), "--no-launch");
  HWND notice = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        notice = FindWindowW(L"PenWheelNotice", nullptr);
        return notice && IsWindowVisible(notice);
      },
      20000))
      << ReadAll(trace);
  EXPECT_TRUE(GetWindowLongPtrW(notice, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(window.Focused());
  ASSERT_TRUE(WaitFor([&] { return window.keys.size() >= 4; }, 10000)) << ReadAll(trace);
  EXPECT_EQ(window.keys, (std::vector<std::string>{"down 17/29", "down 189/12", "up 189/12", "up 17/29"}));
  // It fades and hides by itself; the last alpha of its fade stays set.
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(notice); }, 10000));
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(notice, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 35);
  EXPECT_TRUE(window.Focused());
  EXPECT_EQ(Stop(), 0);
}

}  // namespace
}  // namespace e2e
