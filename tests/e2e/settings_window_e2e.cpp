// The main settings window of the running service, driven as a user would:
// real mouse clicks on it, its texts read back, its picture saved.
#include "WindowRun.h"

namespace e2e {
namespace {

using pen::FormAControl;

// A tablet whose pen pressure can be tuned (firmware up to 0x2110), so that
// every control of the window shows.
pen::TTabletRecording Adjustable() {
  pen::TTabletRecording rec = Idle();
  rec.identity.version = 0x2100;
  return rec;
}

class SettingsWindow : public WindowRun {
 protected:
  // Asked of the control itself: GetWindowText would give another process's
  // edit control's caption, not its text.
  static BOOL CALLBACK CollectText(HWND child, LPARAM out) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    if (IsWindowVisible(child) &&
        SendMessageTimeoutW(child, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                            &length) &&
        length > 0) {
      reinterpret_cast<std::vector<std::wstring>*>(out)->push_back(text);
    }
    return TRUE;
  }

  // Every visible text of the window's controls.
  static std::vector<std::wstring> Texts(HWND form) {
    std::vector<std::wstring> texts;
    EnumChildWindows(form, &CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
  }

  static bool Has(const std::vector<std::wstring>& texts, const std::wstring& t) {
    for (const auto& x : texts) {
      if (x == t) return true;
    }
    return false;
  }

  // The texts, for a failure's message (ASCII only).
  static std::string Shown(const std::vector<std::wstring>& texts) {
    std::string out = "\nshown:";
    for (const auto& t : texts) {
      out += " [";
      for (wchar_t c : t) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
      out += "]";
    }
    return out;
  }

};

TEST_F(SettingsWindow, OpensOnShowSettingsWithEnglishTextsFromTheLanguageFiles) {
  PlaceUiFiles(true);
  ChooseEnglish();
  Start(SaveRecording(Adjustable()));
  HWND form = ShowSettings();
  ASSERT_NE(form, nullptr);
  RECT r{};
  GetWindowRect(form, &r);
  EXPECT_EQ(r.right - r.left, 847);
  EXPECT_EQ(r.bottom - r.top, 488);
  // Centred on the screen.
  EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  Picture(form, "settings-window.png");
  const auto texts = Texts(form);
  for (const wchar_t* t : {L"Tablet found", L"Self-defined key", L"Ctrl  +", L"Alt  +", L"Shift", L"z", L"Default",
                           L"Pen pressure", L"Hard", L"Soft", L"Screen Mapping", L"Key Define", L" Use Windows Ink",
                           L"Left Hand Mode", L"&Reset all", L"Test Draw Area", L"Clear Image", L"8192", L"0",
                           L"This area is only for testing,\r\n\r\nnot graphic software.",
                           L"SVer: 4.6.1.222   HVer: 2100   ( 5080Max )"}) {
    EXPECT_TRUE(Has(texts, t)) << std::string(t, t + wcslen(t)) << Shown(texts);
  }
  // The support button exists but is never shown.
  EXPECT_FALSE(IsWindowVisible(SettingsControl(form, FormAControl::btnInternet)));
  // A second after showing, the window asks for report mode 3.
  EXPECT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "command 4 handled") == 1; }, 10000)) << ReadAll(trace);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(SettingsWindow, ItIsAUnicodeWindowTitledWithTheLanguagesSettingsText) {
  PlaceUiFiles(true);
  ChooseEnglish();
  Start(SaveRecording(Adjustable()));
  HWND form = ShowSettings();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(IsWindowUnicode(form));
  EXPECT_TRUE(IsWindowUnicode(SettingsControl(form, FormAControl::jntrckr1)));
  // The taskbar and Alt+Tab read the stored text: the English block's "&Settings".
  EXPECT_EQ(Title(form), L"&Settings");
  // No other program's window owns it: it has its own taskbar button.
  EXPECT_EQ(GetWindow(form, GW_OWNER), nullptr);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(SettingsWindow, TabAndShiftTabMoveTheFocusSpaceTicksABoxAndEscapeClosesAndApplies) {
  PlaceUiFiles(true);
  ChooseEnglish();
  Start(SaveRecording(Adjustable()));
  HWND form = ShowSettings();
  ASSERT_NE(form, nullptr);
  HWND edit = SettingsControl(form, FormAControl::edt1);
  Click(edit);
  Sleep(300);
  ASSERT_EQ(FocusOf(form), edit);
  Type(VK_TAB);
  HWND next = FocusOf(form);
  EXPECT_NE(next, edit);
  EXPECT_TRUE(IsChild(form, next));
  Type(VK_TAB, VK_SHIFT);
  EXPECT_EQ(FocusOf(form), edit);
  // Onwards to "Left Hand Mode", and Space ticks it as a click would.
  HWND leftHand = SettingsControl(form, FormAControl::chkLeftHand);
  for (int i = 0; i < 30 && FocusOf(form) != leftHand; ++i) Type(VK_TAB);
  ASSERT_EQ(FocusOf(form), leftHand);
  Type(VK_SPACE);
  EXPECT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "command 8 (argument 1)") == 1; }, 10000))
      << ReadAll(trace);
  // Escape closes it as its close button does: hidden, and command 0 applies.
  Type(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "command 0 handled") == 1; }, 10000)) << ReadAll(trace);
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_EQ(GetPrivateProfileIntA("MainItem", "LeftHandMode", -1, (dir + "\\TSetting.ini").c_str()), 1);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(SettingsWindow, WithoutTheSetupFileTheBuiltInChineseTextsShow) {
  PlaceUiFiles(false);
  Start(SaveRecording(Adjustable()));
  HWND form = ShowSettings();
  ASSERT_NE(form, nullptr);
  Picture(form, "settings-window-builtin.png");
  const auto texts = Texts(form);
  for (const wchar_t* t : {L"数位板连接在USB端口", L"自定义功能按键", L"压感微调", L"硬", L"软", L"映射绘画范围到屏幕",
                           L" 使用Windows Ink功能", L"左手模式", L"恢复默认", L"测试绘画区", L"清除笔迹",
                           L"此区域仅供测试用途,\r\n\r\n不是绘画软件.", L"Key Define"}) {
    EXPECT_TRUE(Has(texts, t));
  }
  EXPECT_FALSE(Has(texts, L"Left Hand Mode"));
  EXPECT_EQ(Stop(), 0);
}

TEST_F(SettingsWindow, ClickingLeftHandModeSendsTheFlagsReportAndClosingWritesTheSettings) {
  PlaceUiFiles(true);
  Start(SaveRecording(Adjustable()));
  const std::string ini = dir + "\\TSetting.ini";
  ASSERT_EQ(GetPrivateProfileIntA("MainItem", "LeftHandMode", -1, ini.c_str()), 0);
  HWND form = ShowSettings();
  ASSERT_NE(form, nullptr);
  const size_t before = Features(features).size();
  Click(SettingsControl(form, FormAControl::chkLeftHand));
  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "command 8 handled") == 1; }, 10000)) << ReadAll(trace);
  EXPECT_EQ(CountOf(ReadAll(trace), "command 8 (argument 1)"), 1u);
  // Ink mode 1 and left hand: the flags report says 3.
  auto flagsSent = [&] {
    const auto f = Features(features);
    for (size_t i = before; i < f.size(); ++i) {
      if (f[i].bytes == "08 06 01 03 00 00 00 00") return true;
    }
    return false;
  };
  EXPECT_TRUE(WaitFor(flagsSent, 10000)) << ReadAll(features);
  // The settings file changes only when the window closes.
  EXPECT_EQ(GetPrivateProfileIntA("MainItem", "LeftHandMode", -1, ini.c_str()), 0);
  Click(SettingsControl(form, FormAControl::CloseBtn));
  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "command 0 handled") == 1; }, 10000)) << ReadAll(trace);
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_EQ(GetPrivateProfileIntA("MainItem", "LeftHandMode", -1, ini.c_str()), 1);
  EXPECT_EQ(GetPrivateProfileIntA("MainItem", "InkMode", -1, ini.c_str()), 1);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(SettingsWindow, DraggingThePressureTrackerPostsOneCommand1AndTheParametersFollow) {
  PlaceUiFiles(true);
  Start(SaveRecording(Adjustable()));
  HWND form = ShowSettings();
  ASSERT_NE(form, nullptr);
  HWND tracker = SettingsControl(form, FormAControl::jntrckr1);
  const POINT c = Centre(tracker);  // the thumb sits in the middle at 0
  MouseTo(c.x, c.y);
  Sleep(50);
  Button(true);
  for (int dx = 10; dx <= 60; dx += 10) {
    Sleep(20);
    MouseTo(c.x + dx, c.y);
  }
  Button(false);
  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "command 1 handled") == 1; }, 10000)) << ReadAll(trace);
  Sleep(1000);
  const std::string t = ReadAll(trace);
  EXPECT_EQ(CountOf(t, "command 1 (argument"), 1u) << t;
  const size_t at = t.find("command 1 (argument ") + 20;
  const int value = std::stoi(t.substr(at));
  EXPECT_GT(value, 0);  // towards "Soft"
  // The parameters report carries the value as a 16-bit word after the key.
  char word[8];
  std::snprintf(word, sizeof word, "%02X %02X", (value >> 8) & 0xFF, value & 0xFF);
  bool sent = false;
  for (const Feature& f : Features(features)) sent |= f.bytes.rfind("08 04", 0) == 0 && f.bytes.substr(12, 5) == word;
  EXPECT_TRUE(sent) << value;
  EXPECT_EQ(Stop(), 0);
}

TEST_F(SettingsWindow, CommandsPostedBeforeItWasEverOpenedKeepTheStoredSettings) {
  const std::string ini = dir + "\\TSetting.ini";
  {
    std::ofstream f(ini, std::ios::binary);
    f << "[MainItem]\r\nInkMode=1\r\nSmoothness=0\r\nLeftHandMode=1\r\n[Mapping]\r\nScreenMapLeft=100\r\n"
         "ScreenMapTop=200\r\nScreenMapRight=3000\r\nScreenMapBottom=3500\r\nTabletMapLeft=0\r\nTabletMapTop=650\r\n"
         "TabletMapRight=4095\r\nTabletMapBottom=3500\r\n";
  }
  Start(SaveRecording(Adjustable()));
  CommandAndSettle(0, 0);  // the marker is command 10
  EXPECT_EQ(GetPrivateProfileIntA("MainItem", "InkMode", -1, ini.c_str()), 1);
  EXPECT_EQ(GetPrivateProfileIntA("MainItem", "LeftHandMode", -1, ini.c_str()), 1);
  EXPECT_EQ(GetPrivateProfileIntA("Mapping", "ScreenMapLeft", -1, ini.c_str()), 100);
  EXPECT_EQ(GetPrivateProfileIntA("Mapping", "ScreenMapBottom", -1, ini.c_str()), 3500);
  EXPECT_EQ(GetPrivateProfileIntA("Mapping", "TabletMapTop", -1, ini.c_str()), 650);
  // Command 10 with ink mode 1: report mode 3 with the stored screen area.
  EXPECT_EQ(Features(features).back().bytes.substr(0, 5), "08 03");
  EXPECT_EQ(Stop(), 0);
}

}  // namespace
}  // namespace e2e

int main(int argc, char** argv) { return e2e::WindowRunMain(argc, argv); }
