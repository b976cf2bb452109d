// The screen mapping window on Windows: what its picture shows, and the
// modal run that the settings window waits on.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "common/win32/Win32FileReader.h"
#include "common/win32/Win32IniFileSystem.h"
#include "support/win32/ModalScript.h"
#include "ui/FormAFakes.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/ScreenMappingPainting.h"
#include "ui/win32/Win32CodePage.h"
#include "ui/win32/Win32ScreenMapping.h"

namespace pen::win32 {
namespace {

constexpr MapRect kFull{0, 0, 4095, 4095};
constexpr uint32_t kGreen = 0x00FF00, kBlue = 0x0000FF, kRed = 0xFF0000, kYellow = 0xFFFF00;

// The window's client area painted into a bitmap, over a green desktop.
class Picture {
 public:
  explicit Picture(const TScreenMappingForm& form) {
    const TSelection useBitmap(dc_, bitmap_);
    const TMemoryDc desktopDc(static_cast<HDC>(dc_));
    void* desktopBits = nullptr;
    const TBitmap desktop = CreateDib32(192, 108, &desktopBits);
    const TSelection useDesktop(desktopDc, desktop);
    Fill(desktopDc, {0, 0, 192, 108}, RGB(0, 0xFF, 0));
    const TFont font(CreateFontW(-48, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Shell Dlg 2"));
    PaintScreenMapping(dc_, form, desktopDc, {}, font);
    GdiFlush();
  }
  uint32_t At(int x, int y) const {
    return static_cast<const uint32_t*>(bits_)[y * TScreenMappingForm::kWidth + x] & 0xFFFFFF;
  }

 private:
  void* bits_ = nullptr;
  TBitmap bitmap_ = CreateDib32(TScreenMappingForm::kWidth, TScreenMappingForm::kHeight, &bits_);
  TMemoryDc dc_;
};

TScreenMappingForm Opened(const char* model, bool showTablet) {
  TScreenMappingForm form;
  form.ModelCode = model;
  form.ShowTabletArea = showTablet;
  form.SetScreenArea({0, 0, 2047, 2047});
  form.SetTabletArea(kFull);
  form.FormShow({{0, 0, 192, 108}, {{0, 0, 192, 108}}});
  return form;
}

TEST(ScreenMappingPicture, TheFrameIsABlueHatchWithRedGripsOverTheDesktopsScreenshot) {
  const TScreenMappingForm form = Opened("R711", true);
  const Picture p(form);
  const PixelRect f = form.Monitor().Shape().Rect();
  EXPECT_EQ(p.At(0, 0), 0x808080u);  // the window's one-pixel frame
  EXPECT_EQ(p.At(f.left + 2, (f.top + f.bottom) / 2 + 10), kBlue);  // the 5-pixel border
  EXPECT_EQ(p.At(f.left + 1, f.top + 1), kRed);                     // a corner grip
  // Inside: the hatch's lines over the screenshot, which shows between them.
  int green = 0, blue = 0;
  for (int x = f.left + 10; x < f.left + 60; ++x) {
    const uint32_t c = p.At(x, f.top + 20);
    green += c == kGreen;
    blue += c == kBlue;
  }
  EXPECT_GT(green, 20);
  EXPECT_GT(blue, 2);
  // Outside the frame, the screenshot alone.
  const PixelRect s = form.Monitor().ScreenRect();
  EXPECT_EQ(p.At(s.right - 3, s.bottom - 3), kGreen);
}

TEST(ScreenMappingPicture, TheHatchRunsForwardDiagonalFromTopLeftToBottomRight) {
  const TScreenMappingForm form = Opened("R711", true);
  const Picture p(form);
  const PixelRect f = form.Monitor().Shape().Rect();
  // Inside the border and away from the grips, each line of the hatch
  // continues one pixel right and one down, never one right and one up.
  int along = 0, across = 0;
  for (int y = f.top + 12; y < f.bottom - 12; ++y) {
    for (int x = f.left + 12; x < f.right - 12; ++x) {
      if (p.At(x, y) != kBlue) continue;
      along += p.At(x + 1, y + 1) == kBlue;
      across += p.At(x + 1, y - 1) == kBlue;
    }
  }
  EXPECT_GT(along, 100);
  EXPECT_EQ(across, 0);
}

TEST(ScreenMappingPicture, AFrameBeingDraggedTurnsRedWithYellowGrips) {
  TScreenMappingForm form = Opened("R711", true);
  const PixelRect f = form.Monitor().Shape().Rect();
  form.MouseDown((f.left + f.right) / 2, (f.top + f.bottom) / 2);
  const Picture p(form);
  EXPECT_EQ(p.At(f.left + 2, (f.top + f.bottom) / 2 + 10), kRed);
  EXPECT_EQ(p.At(f.left + 1, f.top + 1), kYellow);
}

TEST(ScreenMappingPicture, TheTabletDrawingShowsOnlyWithTheTabletHalf) {
  {
    const Picture p(Opened("R711", true));
    EXPECT_EQ(p.At(242, 401), 0xA0A0A0u);  // the picture's grey, outside the outline's round corner
    EXPECT_EQ(p.At(300, 700), 0x303030u);  // the tablet's outline
    EXPECT_EQ(p.At(270, 470), 0x909090u);  // the first key
  }
  {
    const Picture p(Opened("X100", true));  // not in the table: grey only
    EXPECT_EQ(p.At(300, 700), 0xA0A0A0u);
  }
  {
    const Picture p(Opened("R711", false));
    EXPECT_EQ(p.At(300, 700), 0xF0F0F0u);  // the window's background
  }
}


// The wait before the desktop picture, as the window saw it.
struct WaitSeen {
  const TWin32ScreenMappingChild* child = nullptr;
  int calls = 0;
  bool pictureTaken = false, windowShown = false;
} g_wait;
void RecordWait() {
  ++g_wait.calls;
  g_wait.pictureTaken = g_wait.child->HasDesktopPicture();
  g_wait.windowShown = IsWindowVisible(g_wait.child->Window()) != FALSE;
}

// Runs the window modally, owned by a window that stands for the settings
// window, with messages already waiting for it.
class ModalRun : public ::testing::Test {
 protected:
  TGdiPlus gdiplus;
  test::ProgramFolder folder;
  Win32IniFileSystem ini;
  Win32FileReader files;
  TWin32CodePage ansi{1252};
  TLanguage language{ini, files, ansi, folder.Name()};
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  TWin32ScreenMappingChild child{language, &RecordWait};
  void SetUp() override {
    g_wait = {&child};
    ASSERT_TRUE(child.Create(owner));
  }
  void TearDown() override { DestroyWindow(owner); }
};

TEST_F(ModalRun, ClosedUntouchedItGivesBackExactlyTheRectanglesItWasGiven) {
  MapRect screen{1, 2, 3001, 3999}, tablet{0, 158, 4095, 3938};
  EXPECT_TRUE(child.HasScreenMapping());
  PostMessageW(child.Window(), WM_CLOSE, 0, 0);
  child.ShowScreenMapping(screen, tablet, "R711", true);
  EXPECT_EQ(screen, (MapRect{1, 2, 3001, 3999}));
  EXPECT_EQ(tablet, (MapRect{0, 158, 4095, 3938}));
  EXPECT_FALSE(IsWindowVisible(child.Window()));
}

TEST_F(ModalRun, ThePressesOfARealDragAndTheCloseButtonComeBackAsTheNewScreenArea) {
  MapRect screen = kFull, tablet = kFull;
  TScreenMappingForm layout;
  layout.FormShow(ReadDesktop());
  const PixelRect f = layout.Monitor().Shape().Rect();
  HWND w = child.Window();
  // The bottom-right grip dragged by half the frame up and left, then the
  // close button.
  const int x = f.right - 2, y = f.bottom - 2, toX = x - f.Width() / 2, toY = y - f.Height() / 2;
  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, toY));
  PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(toX, toY));
  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(960, 30));
  PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(960, 30));
  child.ShowScreenMapping(screen, tablet, "R711", true);
  EXPECT_EQ(screen.left, 0);
  EXPECT_EQ(screen.top, 0);
  EXPECT_NEAR(screen.right, 2048, 6);
  EXPECT_NEAR(screen.bottom, 2048, 6);
  EXPECT_EQ(tablet, kFull);
}

TEST_F(ModalRun, TheProgramEndingWhileItIsOpenClosesItAndLeavesTheQuitForTheMainLoop) {
  MapRect screen = kFull, tablet = kFull;
  PostQuitMessage(7);
  child.ShowScreenMapping(screen, tablet, "R711", true);
  EXPECT_FALSE(IsWindowVisible(child.Window()));
  MSG m{};
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 7u);
}

TEST_F(ModalRun, ToggleButtonsStepTheTabletPresetsAndEscapeCloses) {
  MapRect screen = kFull, tablet = kFull;
  HWND w = child.Window();
  for (int i = 0; i < 3; ++i) {
    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(780, 570));
    PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(780, 570));
  }
  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
  child.ShowScreenMapping(screen, tablet, "R711", true);
  EXPECT_EQ(tablet, (MapRect{0, 158, 4095, 3938}));  // 650.., 1024.., then the 16:9 area
  EXPECT_EQ(screen, kFull);
}

TEST_F(ModalRun, ItBelongsToItsOwnerTitledFromTheLanguageAndKeepsTheOwnerDisabledWhileOpen) {
  MapRect screen = kFull, tablet = kFull;
  bool ran = false;
  test::RunInModalLoop([&] {
    ran = true;
    HWND w = child.Window();
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetWindow(w, GW_OWNER), owner);
    EXPECT_EQ(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    EXPECT_TRUE(IsWindowUnicode(w));
    wchar_t title[64] = {};
    InternalGetWindowText(w, title, 64);
    EXPECT_STREQ(title, L"映射绘画范围到屏幕");  // the built-in text for screen mapping
    EXPECT_FALSE(IsWindowEnabled(owner));
    PostMessageW(w, WM_CLOSE, 0, 0);
  }, 50);
  child.ShowScreenMapping(screen, tablet, "R711", true);
  EXPECT_TRUE(ran);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(IsWindowVisible(child.Window()));
}

TEST_F(ModalRun, TheDesktopPictureIsTakenAfterTheWaitForTheHiddenWindowsAndBeforeItShows) {
  MapRect screen = kFull, tablet = kFull;
  PostMessageW(child.Window(), WM_CLOSE, 0, 0);
  child.ShowScreenMapping(screen, tablet, "R711", true);
  EXPECT_EQ(g_wait.calls, 1);
  EXPECT_FALSE(g_wait.pictureTaken);
  EXPECT_FALSE(g_wait.windowShown);
}

TEST_F(ModalRun, EnterAndEscapeTakenAsDialogKeysCloseIt) {
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    MapRect screen = kFull, tablet = kFull;
    PostMessageW(child.Window(), WM_KEYDOWN, key, 0);
    child.ShowScreenMapping(screen, tablet, "R711", true);
    EXPECT_FALSE(IsWindowVisible(child.Window())) << key;
    EXPECT_EQ(tablet, kFull);
  }
}

}  // namespace
}  // namespace pen::win32
