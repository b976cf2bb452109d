// The key-setup windows on Windows: driven through their controls while
// they are modal, closed by their button, by an unplugged tablet and by the
// end of the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "common/win32/Win32FileReader.h"
#include "common/win32/Win32IniFileSystem.h"
#include "support/FakeKeyboardLayout.h"
#include "ui/FormAFakes.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/Win32CodePage.h"
#include "ui/win32/Win32KeySetupChildren.h"

namespace pen::win32 {
namespace {

using W = TWin32SetKeys;

// What the user does once the modal window is up, run from its loop.
std::function<void()> g_script;
void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto script = std::move(g_script);
  g_script = nullptr;
  if (script) script();
}

std::wstring Text(HWND w) {
  wchar_t t[512] = {};
  GetWindowTextW(w, t, 512);
  return t;
}

// The pictures stay beside the test program, as build artefacts.
std::string BesideTheProgram(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.erase(folder.find_last_of("\\/") + 1);
  return folder + name;
}

class KeySetupWindows : public ::testing::Test {
 protected:
  TGdiPlus gdiplus;
  test::ProgramFolder folder;
  Win32IniFileSystem ini;
  Win32FileReader files;
  TWin32CodePage ansi{1252};
  TLanguage language{ini, files, ansi, folder.Name()};
  test::FakeKeyboardLayout layout;
  TWin32KeySetupChildren children{language, layout};
  ButtonDefinitions block{};

  void SetUp() override {
    const uint8_t r711[] = {0, 69, 0, 66, 1, 189, 1, 187, 0, 219, 0, 221, 0, 5, 0, 9, 0, 6, 0, 32, 1, 0, 2, 0};
    std::copy(std::begin(r711), std::end(r711), block.begin());
    ASSERT_TRUE(children.Create());
  }
  // Shows `which` modally and runs `script` from inside its loop.
  bool Run(KeySetupWindow which, std::function<void()> script) {
    g_script = std::move(script);
    SetTimer(nullptr, 0, 300, &RunScript);
    return children.ShowKeySetup(which, block);
  }
  static void Click(HWND control) {
    SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  }
  static void Type(HWND chooser, const wchar_t* text) {
    SetWindowTextW(chooser, text);
    SendMessageW(GetParent(chooser), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(chooser), CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(chooser));
  }
  static bool IsPng(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    return std::string(magic + 1, 3) == "PNG";
  }
};

TEST_F(KeySetupWindows, CtrlAAppliedToButtonOneIsCommittedByTheCloseButton) {
  W& w = *children.Window(KeySetupWindow::R711);
  const bool ok = Run(KeySetupWindow::R711, [&] {
    EXPECT_TRUE(IsWindowVisible(w.Window()));
    EXPECT_EQ(Text(w.Control(W::kFirstButtonId + 3)), L"Ctrl + -");
    EXPECT_EQ(Text(w.Control(W::kNumberId)), L"1");
    EXPECT_EQ(Text(w.Control(W::kButtonNoId)), L"按键编号");  // the built-in texts: no language files
    SendMessageW(w.Control(W::kCtrlId), BM_CLICK, 0, 0);
    Type(w.Control(W::kChooserId), L"a");
    EXPECT_EQ(Text(w.Control(W::kResultId)), L"Ctrl + A");
    Click(w.Control(W::kApplyId));
    EXPECT_EQ(Text(w.Control(W::kFirstButtonId + 1)), L"Ctrl + A");
    EXPECT_EQ(block[1], 69);  // nothing written before the close
    Click(w.Control(W::kCloseId));
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(block[0], 1);
  EXPECT_EQ(block[1], 65);
  EXPECT_FALSE(IsWindowVisible(w.Window()));
  EXPECT_FALSE(w.Open());
}

TEST_F(KeySetupWindows, ANamedKeyPickedFromTheListAndTheLineBreakShowInTheControls) {
  W& w = *children.Window(KeySetupWindow::R711);
  const bool ok = Run(KeySetupWindow::R711, [&] {
    Click(w.Control(W::kFirstButtonId + 2));
    EXPECT_EQ(Text(w.Control(W::kNumberId)), L"2");
    for (int id : {W::kShiftId, W::kCtrlId, W::kAltId}) SendMessageW(w.Control(id), BM_CLICK, 0, 0);
    HWND chooser = w.Control(W::kChooserId);
    SendMessageW(chooser, CB_SETCURSEL, 23, 0);  // "F5"
    SendMessageW(w.Window(), WM_COMMAND, MAKEWPARAM(W::kChooserId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(chooser));
    EXPECT_EQ(Text(w.Control(W::kResultId)), L"Shift + Ctrl + \r\nAlt + F5");
    Click(w.Control(W::kApplyId));
    w.Close();
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(block[2], 7);
  EXPECT_EQ(block[3], 116);
}

TEST_F(KeySetupWindows, AnUnplugClosesTheOpenWindowWithItsCommitAndAnUnchangedWindowIsCancel) {
  W& w = *children.Window(KeySetupWindow::R766);
  EXPECT_FALSE(Run(KeySetupWindow::R766, [&] { children.CloseKeySetup(KeySetupWindow::R766); }));
  const bool ok = Run(KeySetupWindow::R766, [&] {
    SendMessageW(w.Control(W::kShiftId), BM_CLICK, 0, 0);
    Click(w.Control(W::kApplyId));
    children.CloseKeySetup(KeySetupWindow::R766);  // as the main window does when the tablet goes
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(block[0], 4);
  EXPECT_EQ(block[1], 69);
}

TEST_F(KeySetupWindows, TheEndOfTheProgramClosesTheWindowAndIsPassedOn) {
  W& w = *children.Window(KeySetupWindow::R733);
  const bool ok = Run(KeySetupWindow::R733, [&] {
    SendMessageW(w.Control(W::kAltId), BM_CLICK, 0, 0);
    Click(w.Control(W::kApplyId));
    PostQuitMessage(3);
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(block[0], 2);
  MSG m{};
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
}

TEST_F(KeySetupWindows, EachWindowHasItsSizeAndItsPictureIsSaved) {
  const std::pair<KeySetupWindow, const char*> windows[] = {
      {KeySetupWindow::R711, "key-setup-R711.png"}, {KeySetupWindow::R733, "key-setup-R733.png"},
      {KeySetupWindow::R755, "key-setup-R755.png"}, {KeySetupWindow::R766, "key-setup-R766.png"},
      {KeySetupWindow::R788, "key-setup-R788.png"}};
  for (const auto& [which, name] : windows) {
    W& w = *children.Window(which);
    const std::string png = BesideTheProgram(name);
    Run(which, [&] {
      RECT r{};
      GetWindowRect(w.Window(), &r);
      EXPECT_EQ(r.right - r.left, w.Keys().Model().clientWidth);
      EXPECT_EQ(r.bottom - r.top, w.Keys().Model().clientHeight);
      UpdateWindow(w.Window());
      RedrawWindow(w.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      EXPECT_TRUE(SaveWindowShot(w.Window(), png));
      w.Close();
    });
    EXPECT_TRUE(IsPng(png)) << name;
  }
  const SetKeysModel& r733 = children.Window(KeySetupWindow::R733)->Keys().Model();
  EXPECT_EQ(r733.clientWidth, 819);
  EXPECT_EQ(r733.clientHeight, 380);
}

}  // namespace
}  // namespace pen::win32
