// The key-setup windows on Windows: driven through their controls while
// they are modal, closed by their button, by an unplugged tablet and by the
// end of the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "common/win32/Win32FileReader.h"
#include "common/win32/Win32IniFileSystem.h"
#include "support/win32/ModalScript.h"
#include "support/FakeKeyboardLayout.h"
#include "ui/FormAFakes.h"
#include "ui/win32/DialogKeys.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/Win32CodePage.h"
#include "ui/win32/Win32KeySetupChildren.h"

namespace pen::win32 {
namespace {

using W = TWin32SetKeys;


std::wstring WideText(HWND w) {
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
  // Stands for the settings window.
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);

  void SetUp() override {
    const uint8_t r711[] = {0, 69, 0, 66, 1, 189, 1, 187, 0, 219, 0, 221, 0, 5, 0, 9, 0, 6, 0, 32, 1, 0, 2, 0};
    std::copy(std::begin(r711), std::end(r711), block.begin());
    ASSERT_TRUE(children.Create(owner));
  }
  void TearDown() override { DestroyWindow(owner); }
  // A key as the keyboard brings it: to the control that has the focus, run
  // through the window's loop.
  static void Key(WPARAM vk) {
    PostMessageW(GetFocus(), WM_KEYDOWN, vk, 0);
    PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000000);
  }
  // Runs the window's loop for a moment.
  static void Settle() {
    MSG m;
    for (int i = 0; i < 50 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
      if (HandleDialogKeys(m)) continue;
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
  // Shows `which` modally and runs `script` from inside its loop.
  bool Run(KeySetupWindow which, std::function<void()> script) {
    test::RunInModalLoop(std::move(script), 300);
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
    EXPECT_EQ(WideText(w.Control(W::kFirstButtonId + 3)), L"Ctrl + -");
    EXPECT_EQ(WideText(w.Control(W::kNumberId)), L"1");
    EXPECT_EQ(WideText(w.Control(W::kButtonNoId)), L"按键编号");  // the built-in texts: no language files
    SendMessageW(w.Control(W::kCtrlId), BM_CLICK, 0, 0);
    Type(w.Control(W::kChooserId), L"a");
    EXPECT_EQ(WideText(w.Control(W::kResultId)), L"Ctrl + A");
    Click(w.Control(W::kApplyId));
    EXPECT_EQ(WideText(w.Control(W::kFirstButtonId + 1)), L"Ctrl + A");
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
    EXPECT_EQ(WideText(w.Control(W::kNumberId)), L"2");
    for (int id : {W::kShiftId, W::kCtrlId, W::kAltId}) SendMessageW(w.Control(id), BM_CLICK, 0, 0);
    HWND chooser = w.Control(W::kChooserId);
    SendMessageW(chooser, CB_SETCURSEL, 23, 0);  // "F5"
    SendMessageW(w.Window(), WM_COMMAND, MAKEWPARAM(W::kChooserId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(chooser));
    EXPECT_EQ(WideText(w.Control(W::kResultId)), L"Shift + Ctrl + \r\nAlt + F5");
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

TEST_F(KeySetupWindows, EachWindowBelongsToItsOwnerIsTitledFromTheLanguageAndKeepsTheOwnerDisabled) {
  for (KeySetupWindow which : {KeySetupWindow::R711, KeySetupWindow::R766}) {
    W& w = *children.Window(which);
    Run(which, [&] {
      EXPECT_EQ(GetWindow(w.Window(), GW_OWNER), owner);
      EXPECT_EQ(GetWindowLongW(w.Window(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
      EXPECT_TRUE(IsWindowUnicode(w.Window()));
      wchar_t title[64] = {};
      InternalGetWindowText(w.Window(), title, 64);
      // The built-in set's text for the button that opens it.
      EXPECT_STREQ(title, L"Key Define");
      EXPECT_FALSE(IsWindowEnabled(owner));
      w.Close();
    });
    EXPECT_TRUE(IsWindowEnabled(owner));
  }
}

TEST_F(KeySetupWindows, TabMovesOnSpaceTicksEnterAppliesAndEscapeClosesWithTheCommit) {
  W& w = *children.Window(KeySetupWindow::R711);
  const bool ok = Run(KeySetupWindow::R711, [&] {
    // Shown with the keyboard in the key chooser.
    HWND chooser = w.Control(W::kChooserId);
    EXPECT_TRUE(GetFocus() == chooser || IsChild(chooser, GetFocus()));
    Key(VK_TAB);
    Settle();
    EXPECT_EQ(GetFocus(), w.Control(W::kShiftId));
    Key(VK_TAB);
    Settle();
    EXPECT_EQ(GetFocus(), w.Control(W::kCtrlId));
    Key(VK_SPACE);
    Settle();
    EXPECT_EQ(WideText(w.Control(W::kResultId)), L"Ctrl + E");
    Key(VK_RETURN);  // the check mark
    Settle();
    EXPECT_EQ(WideText(w.Control(W::kFirstButtonId + 1)), L"Ctrl + E");
    Key(VK_ESCAPE);
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(block[0], 1);
  EXPECT_EQ(block[1], 69);
  EXPECT_FALSE(IsWindowVisible(w.Window()));
}

// Every control of the window lies inside it, and no tablet button covers
// another or the editor.
bool Inside(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}
bool Overlap(const RECT& a, const RECT& b) {
  RECT both{};
  return IntersectRect(&both, &a, &b) != FALSE;
}
RECT ScreenRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

TEST_F(KeySetupWindows, EachWindowHoldsItsButtonsAndEditorAndItsPictureIsSaved) {
  const std::pair<KeySetupWindow, const char*> windows[] = {
      {KeySetupWindow::R711, "key-setup-R711.png"}, {KeySetupWindow::R733, "key-setup-R733.png"},
      {KeySetupWindow::R755, "key-setup-R755.png"}, {KeySetupWindow::R766, "key-setup-R766.png"},
      {KeySetupWindow::R788, "key-setup-R788.png"}};
  const std::pair<KeySetupWindow, int> buttons[] = {{KeySetupWindow::R711, 12}, {KeySetupWindow::R733, 4},
                                                    {KeySetupWindow::R755, 8},  {KeySetupWindow::R766, 8},
                                                    {KeySetupWindow::R788, 8}};
  for (size_t i = 0; i < std::size(windows); ++i) {
    const auto& [which, name] = windows[i];
    W& w = *children.Window(which);
    const std::string png = BesideTheProgram(name);
    Run(which, [&, count = buttons[i].second] {
      const RECT window = ScreenRect(w.Window());
      if (which == KeySetupWindow::R733) {
        EXPECT_EQ(window.right - window.left, 819);
        EXPECT_EQ(window.bottom - window.top, 380);
      }
      EXPECT_NE(w.Control(W::kFirstButtonId + count), nullptr) << name;
      EXPECT_EQ(w.Control(W::kFirstButtonId + count + 1), nullptr) << name;
      std::vector<RECT> keys;
      for (int k = 1; k <= count; ++k) keys.push_back(ScreenRect(w.Control(W::kFirstButtonId + k)));
      for (int id : {W::kChooserId, W::kShiftId, W::kCtrlId, W::kAltId, W::kResultId, W::kApplyId, W::kResetId,
                     W::kCloseId, W::kButtonNoId, W::kNumberId}) {
        const RECT control = ScreenRect(w.Control(id));
        EXPECT_TRUE(Inside(window, control)) << name << " control " << id;
        for (const RECT& key : keys) EXPECT_FALSE(Overlap(key, control)) << name << " control " << id;
      }
      for (size_t a = 0; a < keys.size(); ++a) {
        EXPECT_TRUE(Inside(window, keys[a])) << name << " button " << a + 1;
        for (size_t b = a + 1; b < keys.size(); ++b) EXPECT_FALSE(Overlap(keys[a], keys[b])) << name;
      }
      UpdateWindow(w.Window());
      RedrawWindow(w.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      EXPECT_TRUE(SaveWindowShot(w.Window(), png));
      w.Close();
    });
    EXPECT_TRUE(IsPng(png)) << name;
  }
}

}  // namespace
}  // namespace pen::win32
