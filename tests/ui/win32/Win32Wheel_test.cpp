// The wheel settings window and its custom key window on screen: modal,
// found by class, on top; wheel steps scroll its list, a close commits.
#include "ui/win32/Win32Wheel.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "common/win32/Win32Clock.h"
#include "common/win32/Win32FileReader.h"
#include "common/win32/Win32IniFileSystem.h"
#include "support/FakeKeyboardLayout.h"
#include "support/MemoryFiles.h"
#include "support/win32/ModalScript.h"
#include "ui/FormAFakes.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/Win32CodePage.h"

namespace pen::win32 {
namespace {

class WheelWindow : public ::testing::Test {
 protected:
  test::ProgramFolder folder;
  Win32IniFileSystem langIni;
  Win32FileReader files;
  TWin32CodePage ansi{1252};
  TLanguage language{langIni, files, ansi, folder.Name()};
  test::FakeKeyboardLayout layout;
  Win32Clock clock;
  TWin32WheelFaces faces{language};
  TWin32Wheel window{language, faces, clock, layout};
  test::MemoryFileStore store;
  test::MemoryIniFileSystem ini{store};
  test::FixedFolders folders;
  TWheelData data{ini, folders};  // a new installation: Volume current
  const std::string kFile = "/prog/TabletWheel.ini";

  void SetUp() override { faces.ReloadNames(); }
  // PEN_WHEEL_PICTURES=folder: a picture of `w` there, to look at.
  static void Picture(HWND w, const char* name) {
    if (const char* out = std::getenv("PEN_WHEEL_PICTURES")) {
      TGdiPlus gdiplus;
      SaveWindowShot(w, std::string(out) + "/" + name);
    }
  }
  // Waits, running messages, until `done` or about two seconds.
  void Until(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) clock.ProcessMessagesFor(10);
  }
};

TEST_F(WheelWindow, ItOpensOnTopAt600By300AndWheelStepsPickAFunctionThenAShortPressClosesItUnsaved) {
  store.files[kFile] = "untouched";
  bool checked = false;
  test::RunInModalLoop(
      [&] {
        HWND w = FindWindowW(L"PenWheelSettings", nullptr);
        ASSERT_EQ(w, window.Window());
        EXPECT_TRUE(IsWindowVisible(w));
        RECT r{};
        GetWindowRect(w, &r);
        EXPECT_EQ(r.right - r.left, 600);
        EXPECT_EQ(r.bottom - r.top, 300);
        EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(window.Showing());
        window.ScrollWheel(0x01);  // up: UndoRedo
        Until([&] { return data.CurrentFunction != 7; });
        EXPECT_EQ(data.CurrentFunction, 6);
        window.ScrollWheel(0x01);
        window.ScrollWheel(0x01);  // ... two more: UserKey, DisableAll
        Until([&] { return data.CurrentFunction != 6; });
        EXPECT_EQ(data.CurrentFunction, 4);
        EXPECT_EQ(window.Model().GroupColour(4), TfrmWheel::kCurrentColour);
        clock.ProcessMessagesFor(100);
        Picture(w, "wheel-settings.png");
        checked = true;
        window.CloseWindow();
        EXPECT_TRUE(window.Showing());  // until its run has returned
      },
      300);
  window.ShowModal(data);
  EXPECT_TRUE(checked);
  EXPECT_FALSE(window.Showing());
  EXPECT_FALSE(IsWindowVisible(window.Window()));
  EXPECT_EQ(store.files.at(kFile), "untouched");
}

TEST_F(WheelWindow, DefineKeysOpensTheCustomKeyWindowWhoseClosingCopiesItsBytesBackAndTheDataIsSaved) {
  bool checked = false;
  test::RunInModalLoop(
      [&] {
        test::RunInModalLoop(
            [&] {
              HWND key = FindWindowW(L"PenCustomKey", nullptr);
              ASSERT_NE(key, nullptr);
              EXPECT_TRUE(IsWindowVisible(key));
              EXPECT_TRUE(window.CustomKeyWindow().Showing());
              EXPECT_TRUE(GetWindowLongPtrW(key, GWL_EXSTYLE) & WS_EX_TOPMOST);
              Picture(key, "custom-key.png");
              // "Set Default" of zoom, then closed as a short press does.
              SendMessageW(key, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED),
                           reinterpret_cast<LPARAM>(GetDlgItem(key, 2)));
              window.CustomKeyWindow().CloseWindow();
              checked = true;
            },
            200);
        window.Model().btnZoomClick();
        EXPECT_FALSE(window.CustomKeyWindow().Showing());
        window.Model().SetEnabled(2, true);
        window.CloseWindow();
      },
      300);
  window.ShowModal(data);
  EXPECT_TRUE(checked);
  EXPECT_EQ(data.Settings()[wheel_field::kZoomRLeft], 1);
  EXPECT_EQ(data.Settings()[wheel_field::kZoomRLeft + 1], 189);
  EXPECT_NE(store.files.at(kFile).find("ZoomEnabled=1"), std::string::npos);
}

TEST_F(WheelWindow, TheProgramEndingWhileItIsOpenClosesItWithItsCommitAndLeavesTheQuit) {
  test::RunInModalLoop(
      [&] {
        window.Model().SetHideWheel(true);
        PostQuitMessage(4);
      },
      300);
  window.ShowModal(data);
  EXPECT_FALSE(window.Showing());
  EXPECT_EQ(data.Settings()[wheel_field::kHideWheel], 1);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 4u);
}

}  // namespace
}  // namespace pen::win32
