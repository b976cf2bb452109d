// The screen mapping window of the running service, opened from the
// settings window and driven with real mouse input: what it hands back
// reaches the service and the tablet.
#include "WindowRun.h"

#include "ui/MapScreen.h"
#include "ui/win32/Win32ScreenMapping.h"

namespace e2e {
namespace {

using pen::FormAControl;
using pen::TScreenMappingForm;
using pen::win32::TWin32ScreenMappingChild;

// A settings rectangle from the mode report's area bytes: left, width and
// their high nibbles, then top, height and theirs.
pen::MapRect AreaOfModeReport(const std::string& bytes) {
  unsigned b[8] = {};
  std::sscanf(bytes.c_str(), "%x %x %x %x %x %x %x %x", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &b[7]);
  const int left = static_cast<int>(b[2] | (b[4] & 0x0F) << 8), width = static_cast<int>(b[3] | (b[4] >> 4) << 8);
  const int top = static_cast<int>(b[5] | (b[7] & 0x0F) << 8), height = static_cast<int>(b[6] | (b[7] >> 4) << 8);
  return {left, top, left + width, top + height};
}

class ScreenMappingWindow : public WindowRun {
 protected:
  HWND settings = nullptr;

  void SetUp() override {
    WindowRun::SetUp();
    PlaceUiFiles(true);
    ChooseEnglish();
  }

  std::string Ini() const { return dir + "\\TSetting.ini"; }
  int Stored(const char* key) { return GetPrivateProfileIntA("Mapping", key, -1, Ini().c_str()); }

  void OpenSettings() { settings = ShowSettings(); }

  // Clicks "ScreenMapping" and waits for the mapping window.
  HWND OpenMapping() {
    Click(SettingsControl(settings, FormAControl::btnShowMapForm));
    HWND map = WaitForVisible(TWin32ScreenMappingChild::kClassName, nullptr, 10000);
    EXPECT_NE(map, nullptr);
    Sleep(700);
    return map;
  }

  static POINT OnScreen(HWND map, int x, int y) {
    RECT w{};
    GetWindowRect(map, &w);
    return {w.left + x, w.top + y};
  }

  void CloseMapping(HWND map) {
    const pen::PixelRect c = TScreenMappingForm::kCloseButton;
    ClickAt(OnScreen(map, (c.left + c.right) / 2, (c.top + c.bottom) / 2));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(map) && IsWindowVisible(settings); }, 10000));
    // A click before the settings window is in front again may go nowhere
    // (seen on a slow, emulated machine); it normally is at once.
    WaitFor([&] { return GetForegroundWindow() == settings; }, 5000);
    Sleep(300);
  }

  // "Close" on the settings window: command 0 writes the file and sends the
  // mode report with the screen area. Returns that report.
  std::string CloseSettings() {
    const size_t before = Features(features).size();
    Click(SettingsControl(settings, FormAControl::CloseBtn));
    EXPECT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "command 0 handled") == 1; }, 10000))
        << ReadAll(trace);
    std::string mode;
    EXPECT_TRUE(WaitFor(
        [&] {
          const auto f = Features(features);
          for (size_t i = before; i < f.size(); ++i) {
            if (f[i].bytes.rfind("08 03", 0) == 0) mode = f[i].bytes;
          }
          return !mode.empty();
        },
        10000))
        << ReadAll(features);
    return mode;
  }

};

TEST_F(ScreenMappingWindow, DraggingTheScreenFramesCornerPostsCommand5AndTheTabletGetsTheNewArea) {
  Start(SaveRecording(Idle()));
  OpenSettings();
  HWND map = OpenMapping();
  ASSERT_NE(map, nullptr);
  Picture(map, "screen-mapping-e2e.png");

  // Where the frame is: the same layout over this desktop.
  TScreenMappingForm layout;
  layout.FormShow(pen::win32::ReadDesktop());
  const pen::PixelRect frame = layout.Monitor().Shape().Rect();
  ASSERT_GT(frame.Width(), 100);
  // The bottom-right grip, dragged to the middle of the picture.
  const POINT from = OnScreen(map, frame.right - 2, frame.bottom - 2);
  const POINT to = OnScreen(map, frame.left + frame.Width() / 2, frame.top + frame.Height() / 2);
  MouseTo(from.x, from.y);
  Sleep(150);
  Button(true);
  Sleep(100);
  for (int step = 1; step <= 5; ++step) {
    MouseTo(from.x + (to.x - from.x) * step / 5, from.y + (to.y - from.y) * step / 5);
    Sleep(60);
  }
  Button(false);
  Sleep(300);
  Picture(map, "screen-mapping-dragged-e2e.png");
  CloseMapping(map);

  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "command 5 handled") == 1; }, 10000))
      << ReadAll(trace);
  EXPECT_EQ(CountOf(ReadAll(trace), "command 7 handled"), 0u);  // the tablet area was not touched

  const std::string mode = CloseSettings();
  // About half of the desktop, from its top-left corner.
  EXPECT_EQ(Stored("ScreenMapLeft"), 0);
  EXPECT_EQ(Stored("ScreenMapTop"), 0);
  EXPECT_NEAR(Stored("ScreenMapRight"), 2047, 40);
  EXPECT_NEAR(Stored("ScreenMapBottom"), 2047, 40);
  EXPECT_EQ(Stored("TabletMapRight"), 4095);
  const pen::MapRect sent = AreaOfModeReport(mode);
  EXPECT_EQ(sent, (pen::MapRect{0, 0, Stored("ScreenMapRight"), Stored("ScreenMapBottom")})) << mode;
  EXPECT_EQ(Stop(), 0);
}

TEST_F(ScreenMappingWindow, OpeningAndClosingWithoutTouchingAnythingPostsNeitherAreaCommand) {
  {
    std::ofstream f(Ini(), std::ios::binary);
    f << "[MainItem]\r\nInkMode=1\r\n[Mapping]\r\nScreenMapLeft=101\r\nScreenMapTop=202\r\nScreenMapRight=3001\r\n"
         "ScreenMapBottom=3999\r\nTabletMapLeft=0\r\nTabletMapTop=158\r\nTabletMapRight=4095\r\n"
         "TabletMapBottom=3938\r\n";
  }
  Start(SaveRecording(Idle()));
  OpenSettings();
  HWND map = OpenMapping();
  ASSERT_NE(map, nullptr);
  // The R711's 16:9 area: its frame is captioned so.
  Picture(map, "screen-mapping-16x9-e2e.png");
  CloseMapping(map);
  const std::string mode = CloseSettings();
  const std::string t = ReadAll(trace);
  EXPECT_EQ(CountOf(t, "command 5 handled"), 0u) << t;
  EXPECT_EQ(CountOf(t, "command 7 handled"), 0u) << t;
  EXPECT_EQ(Stored("ScreenMapRight"), 3001);
  EXPECT_EQ(Stored("ScreenMapBottom"), 3999);
  EXPECT_EQ(Stored("TabletMapTop"), 158);
  EXPECT_EQ(AreaOfModeReport(mode), (pen::MapRect{101, 202, 3001, 3999})) << mode;
  EXPECT_EQ(Stop(), 0);
}

TEST_F(ScreenMappingWindow, TheTabletTogglePostsCommand7AtOnceAndTheTabletAreaIsStored) {
  Start(SaveRecording(Idle()));
  OpenSettings();
  HWND map = OpenMapping();
  ASSERT_NE(map, nullptr);
  // One step of the tablet toggle: the whole area becomes the first of the
  // centred squares.
  const pen::PixelRect t = TScreenMappingForm::kToggleTablet;
  ClickAt(OnScreen(map, (t.left + t.right) / 2, (t.top + t.bottom) / 2));
  Sleep(300);
  Picture(map, "screen-mapping-tablet-toggled-e2e.png");
  CloseMapping(map);
  // Applied as the mapping window closes, before the settings window does.
  ASSERT_TRUE(WaitFor([&] { return CountOf(ReadAll(trace), "command 7 handled") == 1; }, 10000))
      << ReadAll(trace);
  EXPECT_EQ(CountOf(ReadAll(trace), "command 5 handled"), 0u);  // the screen area was not touched
  EXPECT_EQ(CountOf(ReadAll(trace), "command 0 handled"), 0u);
  CloseSettings();
  EXPECT_EQ(Stored("TabletMapLeft"), 650);
  EXPECT_EQ(Stored("TabletMapTop"), 650);
  EXPECT_EQ(Stored("TabletMapRight"), 3500);
  EXPECT_EQ(Stored("TabletMapBottom"), 3500);
  EXPECT_EQ(Stored("ScreenMapRight"), 4095);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(ScreenMappingWindow, ItBelongsToTheSettingsWindowIsModalAndEscapeClosesIt) {
  Start(SaveRecording(Idle()));
  OpenSettings();
  HWND map = OpenMapping();
  ASSERT_NE(map, nullptr);
  ExpectOwnedBy(map, settings);
  EXPECT_EQ(Title(map), L"Screen Mapping");  // the English block's text for the window
  // While it is open the settings window takes no input.
  EXPECT_FALSE(IsWindowEnabled(settings));
  Type(VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(map) && IsWindowVisible(settings); }, 10000));
  EXPECT_TRUE(IsWindowEnabled(settings));
  const std::string t = ReadAll(trace);
  EXPECT_EQ(CountOf(t, "command 5 handled") + CountOf(t, "command 7 handled"), 0u) << t;
  EXPECT_EQ(Stop(), 0);
}

}  // namespace
}  // namespace e2e

int main(int argc, char** argv) { return e2e::WindowRunMain(argc, argv); }
