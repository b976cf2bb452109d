// The model key-setup window of the running service, driven as a user
// would: real clicks and key strokes, then the tablet key pressed on the
// virtual tablet.
#include "WindowRun.h"

#include "tests/support/win32/KeyWindow.h"
#include "ui/win32/Win32SetKeys.h"

namespace e2e {
namespace {

using pen::FormAControl;
using pen::win32::TWin32SetKeys;

class KeySetupRun : public WindowRun {
 protected:
  // Opens the model's window; `buttons` tells which model's it is.
  HWND OpenKeySetup(HWND form, int buttons) {
    Press(SettingsControl(form, FormAControl::BtnKeyDefine));
    HWND keys = WaitForVisible(TWin32SetKeys::kClassName, nullptr, 20000);
    EXPECT_NE(keys, nullptr) << ReadAll(trace);
    if (!keys) return nullptr;
    EXPECT_NE(GetDlgItem(keys, TWin32SetKeys::kFirstButtonId + buttons), nullptr);
    EXPECT_EQ(GetDlgItem(keys, TWin32SetKeys::kFirstButtonId + buttons + 1), nullptr);
    Sleep(500);
    return keys;
  }

  static std::wstring Text(HWND control) {
    wchar_t text[256] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
    return text;
  }

  // A click, and time for the window to take it in.
  static void Press(HWND control) {
    Click(control);
    Sleep(300);
  }

};

TEST_F(KeySetupRun, CtrlAOnButtonOneOfAnR711IsSavedAndSentByThatTabletKey) {
  PlaceUiFiles(true);
  ChooseEnglish();
  DeleteFileA((dir + "\\R711Def.bin").c_str());
  pen::TTabletRecording rec = Idle();
  // Device key 9 fires slot 0, button 1 of the window; pressed once the
  // edit has long been made.
  auto keyDown = pen::EncodeVendorKeyPacket(1u << 9, 0);
  auto keyUp = pen::EncodeVendorKeyPacket(0, 0);
  rec.AddReport(40000, pen::TabletInterface::A, keyDown.data(), keyDown.size());
  rec.AddReport(150, pen::TabletInterface::A, keyUp.data(), keyUp.size());
  rec.AddWait(2000);
  Start(SaveRecording(rec), "--no-launch");
  ASSERT_TRUE(WaitFor([&] { return ReadAll(dir + "\\R711Def.bin") == R711Definitions(); }, 20000));

  HWND form = ShowSettings();
  ASSERT_NE(form, nullptr);
  HWND keys = OpenKeySetup(form, 12);
  ASSERT_NE(keys, nullptr);
  EXPECT_FALSE(IsWindowVisible(form));
  RECT r{};
  GetWindowRect(keys, &r);
  EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);  // centred
  EXPECT_EQ(Text(GetDlgItem(keys, TWin32SetKeys::kButtonNoId)), L"Button No.");
  EXPECT_EQ(Text(GetDlgItem(keys, TWin32SetKeys::kFirstButtonId + 1)), L"E");
  EXPECT_EQ(Text(GetDlgItem(keys, TWin32SetKeys::kFirstButtonId + 12)), L"Alt");

  Press(GetDlgItem(keys, TWin32SetKeys::kFirstButtonId + 1));
  Press(GetDlgItem(keys, TWin32SetKeys::kCtrlId));
  HWND chooser = GetDlgItem(keys, TWin32SetKeys::kChooserId);
  HWND edit = FindWindowExA(chooser, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  Press(edit);
  Type(VK_END);
  Type(VK_BACK);
  Type('A');
  EXPECT_TRUE(WaitFor([&] { return Text(GetDlgItem(keys, TWin32SetKeys::kResultId)) == L"Ctrl + A"; }, 5000))
      << "preview shows other text";
  Press(GetDlgItem(keys, TWin32SetKeys::kApplyId));
  EXPECT_EQ(Text(GetDlgItem(keys, TWin32SetKeys::kFirstButtonId + 1)), L"Ctrl + A");
  Picture(keys, "key-setup-e2e-R711.png");
  Press(GetDlgItem(keys, TWin32SetKeys::kCloseId));

  // Command 6: the manager saves the edit; the settings window comes back.
  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "command 6 handled") == 1; }, 10000)) << ReadAll(trace);
  EXPECT_FALSE(IsWindowVisible(keys));
  std::string expected = R711Definitions();
  expected[0] = 1;
  expected[1] = 65;
  EXPECT_EQ(ReadAll(dir + "\\R711Def.bin"), expected);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(form) != FALSE; }, 5000));
  Press(SettingsControl(form, FormAControl::CloseBtn));

  // The tablet key now sends Ctrl + A to the focused window.
  pen::test::KeyWindow window;
  ASSERT_TRUE(WaitFor([&] { return window.Focused(); }, 5000));
  ASSERT_TRUE(WaitFor([&] { return window.keys.size() >= 4; }, 60000)) << ReadAll(trace);
  WaitFor([] { return false; }, 300);
  EXPECT_EQ(window.keys, (std::vector<std::string>{"down 17/29", "down 65/30", "up 65/30", "up 17/29"}))
      << ReadAll(trace);
  EXPECT_EQ(CountOf(ReadAll(trace), "tablet button 9 down: Ctrl + A (modifiers 1, key 65)"), 1u) << ReadAll(trace);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(KeySetupRun, UnpluggingTheTabletClosesTheWindowAndSavesItsEdit) {
  DeleteFileA((dir + "\\R711Def.bin").c_str());
  pen::TTabletRecording rec = Idle();
  rec.AddUnplug(25000);
  rec.AddWait(3000);
  Start(SaveRecording(rec), "--no-launch");
  HWND form = ShowSettings();
  ASSERT_NE(form, nullptr);
  HWND keys = OpenKeySetup(form, 12);
  ASSERT_NE(keys, nullptr);
  Press(GetDlgItem(keys, TWin32SetKeys::kFirstButtonId + 2));
  Press(GetDlgItem(keys, TWin32SetKeys::kShiftId));
  Press(GetDlgItem(keys, TWin32SetKeys::kApplyId));
  EXPECT_EQ(Text(GetDlgItem(keys, TWin32SetKeys::kFirstButtonId + 2)), L"Shift + B");
  // Left open: the unplug closes it.
  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "command 6 handled") == 1; }, 60000)) << ReadAll(trace);
  EXPECT_FALSE(IsWindowVisible(keys));
  std::string expected = R711Definitions();
  expected[2] = 4;
  EXPECT_EQ(ReadAll(dir + "\\R711Def.bin"), expected);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(KeySetupRun, ItBelongsToTheSettingsWindowTabMovesTheFocusAndEscapeCloses) {
  PlaceUiFiles(true);
  ChooseEnglish();
  Start(SaveRecording(Idle()), "--no-launch");
  HWND form = ShowSettings();
  ASSERT_NE(form, nullptr);
  HWND keys = OpenKeySetup(form, 12);
  ASSERT_NE(keys, nullptr);
  ExpectOwnedBy(keys, form);
  EXPECT_EQ(Title(keys), L"Key Define");  // the English block's text for the button that opens it
  EXPECT_FALSE(IsWindowEnabled(form));
  // From the key chooser onwards through the modifiers.
  HWND chooser = GetDlgItem(keys, TWin32SetKeys::kChooserId);
  HWND edit = FindWindowExA(chooser, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  Press(edit);
  ASSERT_EQ(FocusOf(keys), edit);
  Type(VK_TAB);
  EXPECT_EQ(FocusOf(keys), GetDlgItem(keys, TWin32SetKeys::kShiftId));
  Type(VK_TAB);
  EXPECT_EQ(FocusOf(keys), GetDlgItem(keys, TWin32SetKeys::kCtrlId));
  // Space ticks the focused box; nothing is applied without the check mark.
  Type(VK_SPACE);
  EXPECT_EQ(Text(GetDlgItem(keys, TWin32SetKeys::kResultId)), L"Ctrl + E");
  Type(VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(keys) && IsWindowVisible(form); }, 10000));
  EXPECT_TRUE(IsWindowEnabled(form));
  Sleep(500);
  EXPECT_EQ(CountOf(ReadAll(trace), "command 6 handled"), 0u) << ReadAll(trace);
  EXPECT_EQ(Stop(), 0);
}

}  // namespace
}  // namespace e2e

int main(int argc, char** argv) { return e2e::WindowRunMain(argc, argv); }
