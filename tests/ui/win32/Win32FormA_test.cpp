#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "common/ModalGate.h"
#include "common/win32/Win32FileReader.h"
#include "common/win32/Win32IniFileSystem.h"
#include "ui/FormAFakes.h"
#include "ui/Language.h"
#include "ui/win32/DialogKeys.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/Win32CodePage.h"
#include "ui/win32/Win32FormA.h"

namespace pen::win32 {
namespace {

using C = FormAControl;

// The thread's messages for a while, as the program's loop runs them.
void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (HandleDialogKeys(m)) continue;
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(5);
  }
}

// A key as the keyboard brings it, to the control that has the focus.
void Key(WPARAM vk) {
  PostMessageW(GetFocus(), WM_KEYDOWN, vk, 0);
  PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000000);
  Pump(30);
}

std::wstring Text(HWND w) {
  wchar_t t[512] = {};
  GetWindowTextW(w, t, 512);
  return t;
}

TEST(Win32CodePage, ChineseAnsiFilesDecodeThroughTheSystemsConversion) {
  TWin32CodePage gbk(936);
  EXPECT_EQ(gbk.Decode("\xCA\xFD\xCE\xBB\xB0\xE5\xB7\xFE\xCE\xF1"), u"数位板服务");
  TWin32CodePage western(1252);
  EXPECT_EQ(western.Decode("\x80 caf\xE9"), u"€ café");
}

TEST(Win32Language, AnAnsiFileInTheChineseCodePageGivesTheSameTextsAsUtf16) {
  test::ProgramFolder folder;
  folder.Write("LanSetup.ini", "[MainItem]\r\nLanguagesCount=1\r\nUserSelectLanEnable=1\r\nUserSelectLan=0\r\n");
  std::string gbk, utf16 = "\xFF\xFE";
  for (int k = 0; k < lan::kBlockLines; ++k) {
    gbk += k == 44 ? "\xD7\xF3\xCA\xD6\xC4\xA3\xCA\xBD\r\n" : "x\r\n";  // 左手模式
    const std::u16string line = k == 44 ? u"左手模式\r\n" : u"x\r\n";
    for (char16_t c : line) utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  }
  Win32IniFileSystem ini;
  Win32FileReader files;
  TWin32CodePage cp936(936);
  TLanguage lang(ini, files, cp936, folder.Name());
  folder.Write("TabletLan.txt", gbk);
  lang.LoadLanguageTexts(2052);
  EXPECT_EQ(lang.Slot(lan::kLeftHandMode), u"左手模式");
  folder.Write("TabletLan.txt", utf16);
  lang.LoadLanguageTexts(2052);
  EXPECT_EQ(lang.Slot(lan::kLeftHandMode), u"左手模式");
}

class FormWindow : public ::testing::Test {
 protected:
  test::ProgramFolder folder;
  Win32IniFileSystem ini;
  Win32FileReader files;
  TWin32CodePage ansi;
  TLanguage language{ini, files, ansi, folder.Name()};
  TNoFormAChildren children;
  std::unique_ptr<TWin32FormA> view;

  void Create() {
    view = std::make_unique<TWin32FormA>(language, files, children, folder.Name(), 0x0409);
    ASSERT_TRUE(view->Create());
  }
};

TEST_F(FormWindow, OpensWithoutPicturesOrLanguageFilesAndShowsTheModelsTexts) {
  Create();
  TFormA& form = view->Form();
  EXPECT_FALSE(IsWindowVisible(view->Window()));
  form.SetFirmwareVersion("2210");
  form.SetServiceVersion("SVer: 4.6.1.222");
  form.SetTabletFound(true);
  form.Show();
  Pump(100);
  ASSERT_TRUE(IsWindowVisible(view->Window()));
  RECT r{};
  GetClientRect(view->Window(), &r);
  EXPECT_EQ(r.right, 847);
  EXPECT_EQ(r.bottom, 488);
  EXPECT_EQ(Text(view->ControlWindow(C::chkLeftHand)), L"左手模式");
  EXPECT_EQ(Text(view->ControlWindow(C::pnlFound)), L"数位板连接在USB端口");
  EXPECT_EQ(Text(view->ControlWindow(C::lblVer)), L"SVer: 4.6.1.222   HVer: 2210");
  EXPECT_FALSE(IsWindowVisible(view->ControlWindow(C::btnInternet)));
  // The model's changes reach the controls.
  form.SetPressureAdjustable(false);
  EXPECT_FALSE(IsWindowVisible(view->ControlWindow(C::jntrckr1)));
  form.SetLeftHandChecked(true);
  EXPECT_EQ(SendMessageW(view->ControlWindow(C::chkLeftHand), BM_GETCHECK, 0, 0), BST_CHECKED);
  // A picture of it.
  const std::string png = folder.Name() + "shot.png";
  ASSERT_TRUE(SaveWindowShot(view->Window(), png));
  std::ifstream in(png, std::ios::binary);
  char magic[4] = {};
  in.read(magic, 4);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
  form.Hide();
  EXPECT_FALSE(IsWindowVisible(view->Window()));
}

TEST_F(FormWindow, ItIsAUnicodeWindowTitledWithTheSettingsText) {
  Create();
  view->Form().Show();
  Pump(50);
  EXPECT_TRUE(IsWindowUnicode(view->Window()));
  EXPECT_TRUE(IsWindowUnicode(view->ControlWindow(C::jntrckr1)));
  // The built-in text of "settings / show", as the taskbar reads it; asked
  // twice, as every refresh of the window sets it again.
  wchar_t title[64] = {};
  InternalGetWindowText(view->Window(), title, 64);
  EXPECT_STREQ(title, L"设置");
  view->Form().SetTabletFound(true);
  InternalGetWindowText(view->Window(), title, 64);
  EXPECT_STREQ(title, L"设置");
  EXPECT_EQ(Text(view->Window()), L"设置");
  view->Form().Hide();
}

TEST_F(FormWindow, APenSampleFromAReadThreadStartsTheChartOnTheWindowsThread) {
  Create();
  TFormA& form = view->Form();
  form.Show();
  Pump(50);
  // The reader feeds on while this thread runs the window: the chart must
  // start and follow from the samples of a thread that is still running,
  // not from what a finished one left behind.
  std::atomic<bool> stop{false};
  std::atomic<int> fed{0};
  std::thread reader([&] {
    while (!stop.load() && fed.load() < 2000000) {
      form.FeedPenSample(1500, 10, 10);
      fed.fetch_add(1);
      std::this_thread::yield();
    }
  });
  bool startedWhileFeeding = false;
  for (int i = 0; i < 400 && !startedWhileFeeding; ++i) {
    Pump(10);
    startedWhileFeeding = form.Chart().Count() >= 2 && form.ShownPressure() == 6000 && fed.load() < 2000000;
  }
  const std::wstring shown = Text(view->ControlWindow(C::lblPressure));
  stop = true;
  reader.join();
  EXPECT_TRUE(startedWhileFeeding) << "samples fed: " << fed.load();
  EXPECT_EQ(shown, L"6000");
  form.Hide();
}

TEST_F(FormWindow, TabMovesTheFocusSpaceTicksABoxAndEscapeClosesAsTheCloseButtonDoes) {
  Create();
  TFormA& form = view->Form();
  form.Show();
  Pump(50);
  HWND edit = view->ControlWindow(C::edt1);
  SetFocus(edit);
  Key(VK_TAB);
  HWND next = GetFocus();
  EXPECT_NE(next, edit);
  EXPECT_TRUE(IsChild(view->Window(), next));
  Key(VK_TAB);
  EXPECT_NE(GetFocus(), next);
  // Shift+Tab goes back the same way.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  Key(VK_TAB);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(GetFocus(), next);
  // The arrows stay with the pressure tracker: they move its thumb.
  HWND tracker = view->ControlWindow(C::jntrckr1);
  SetFocus(tracker);
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  EXPECT_EQ(GetFocus(), tracker);
  EXPECT_EQ(form.TrackerValue(), 2);
  HWND leftHand = view->ControlWindow(C::chkLeftHand);
  SetFocus(leftHand);
  Key(VK_SPACE);
  EXPECT_TRUE(form.Checked(C::chkLeftHand));
  Key(VK_ESCAPE);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(IsWindowVisible(view->Window()));
}

TEST_F(FormWindow, AskedToShowWhileOneOfItsWindowsIsOpenItBringsThatOneForward) {
  Create();
  // Stands for the mapping or key-setup window, open modally.
  HWND open = CreateWindowExW(0, L"STATIC", L"open", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, view->Window(), nullptr,
                              nullptr, nullptr);
  EnableWindow(view->Window(), FALSE);
  view->Form().Show();
  Pump(50);
  EXPECT_FALSE(IsWindowVisible(view->Window()));
  EXPECT_EQ(GetForegroundWindow(), open);
  // Once it has closed, the window shows.
  EnableWindow(view->Window(), TRUE);
  DestroyWindow(open);
  view->Form().Show();
  Pump(50);
  EXPECT_TRUE(IsWindowVisible(view->Window()));
  view->Form().Hide();
}

TEST_F(FormWindow, TheEditorKeepsOneLowerCaseCharacter) {
  Create();
  view->Form().Show();
  SetWindowTextW(view->ControlWindow(C::edt1), L"Q");
  Pump(20);
  EXPECT_EQ(view->Form().Caption(C::edt1), u"q");
  view->Form().btnOkClick();
  EXPECT_EQ(view->Form().KeyUsage(), 20);
}


// Stands for the screen mapping window: counts how often it was opened.
class CountedMapping final : public IFormAChildren {
 public:
  int shown = 0;
  bool HasScreenMapping() const override { return true; }
  void ShowScreenMapping(MapRect&, MapRect&, const std::string&, bool) override { ++shown; }
  bool HasKeySetup(KeySetupWindow) const override { return false; }
  bool ShowKeySetup(KeySetupWindow, ButtonDefinitions&) override { return false; }
  void BringKeySetupToFront(KeySetupWindow) override {}
  void CloseKeySetup(KeySetupWindow) override {}
};

TEST(FormWindowClicks, AClickHandledInsideAWaitOpensItsWindowOnceTheWaitIsOver) {
  test::ProgramFolder folder;
  Win32IniFileSystem ini;
  Win32FileReader files;
  TWin32CodePage ansi;
  TLanguage language{ini, files, ansi, folder.Name()};
  CountedMapping children;
  TWin32FormA view(language, files, children, folder.Name(), 0x0409);
  ASSERT_TRUE(view.Create());
  view.Form().Show();
  Pump(50);
  const HWND button = view.ControlWindow(C::btnShowMapForm);
  {
    // As the show delay or the mode retry run the thread's messages.
    const TModalGate::TScope wait(TModalGate::ForThisThread(), TModalGate::Loop::kWait);
    SendMessageW(button, BM_CLICK, 0, 0);
    SendMessageW(button, BM_CLICK, 0, 0);  // a second click while waiting asks for nothing more
    Pump(50);
    EXPECT_EQ(children.shown, 0);
  }
  Pump(50);
  EXPECT_EQ(children.shown, 1);
  // At the top level a click opens it at once.
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(children.shown, 2);
  view.Form().Hide();
}

}  // namespace
}  // namespace pen::win32
