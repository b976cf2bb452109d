// The wheel's faces as GDI draws them, probed pixel by pixel, and the
// notice window on screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <set>

#include "common/win32/Win32Clock.h"
#include "common/win32/Win32FileReader.h"
#include "common/win32/Win32IniFileSystem.h"
#include "ui/FormAFakes.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/Win32CodePage.h"
#include "ui/win32/Win32Notice.h"
#include "ui/win32/Win32WheelFaces.h"

namespace pen::win32 {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kSectorGrey = 0x606060;
constexpr uint32_t kArc = 0x298FCC;  // RGB (41,143,204) as the pixels hold it

class WheelFaces : public ::testing::Test {
 protected:
  test::ProgramFolder folder;
  Win32IniFileSystem ini;
  Win32FileReader files;
  TWin32CodePage ansi{1252};
  TLanguage language{ini, files, ansi, folder.Name()};

  static uint32_t At(const std::vector<uint32_t>& face, int x, int y) {
    return face[static_cast<size_t>(y * 240 + x)] & 0xFFFFFF;
  }
};

TEST_F(WheelFaces, EachFaceFloodsItsOwnSectorGreyAroundItsIconWithTheArcOnItsOuterEdgeOnly) {
  TWin32WheelFaces faces(language);
  const auto start = std::chrono::steady_clock::now();
  faces.ReloadNames();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  std::printf("eight faces rendered in %lld ms\n", static_cast<long long>(ms.count()));
  // PEN_WHEEL_PICTURES=folder: the eight faces side by side, to look at.
  if (const char* out = std::getenv("PEN_WHEEL_PICTURES")) {
    TGdiPlus gdiplus;
    void* bits = nullptr;
    TBitmap strip = CreateDib32(8 * 240, 240, &bits);
    if (bits) {
      for (int f = 0; f < 8; ++f) {
        for (int y = 0; y < 240; ++y) {
          std::copy_n(&faces.Face(f)[static_cast<size_t>(y * 240)], 240,
                      static_cast<uint32_t*>(bits) + y * 8 * 240 + f * 240);
        }
      }
      SavePng(strip, std::string(out) + "/wheel-faces.png");
    }
  }
  for (int f = 0; f < 8; ++f) ASSERT_EQ(faces.Face(f).size(), 240u * 240u);
  // Zoom, at the right: between the inner disc and its icon (dial 573..575,
  // 360..362) grey; on the outer edge (dial radius 348..350) the arc.
  const auto& zoom = faces.Face(2);
  EXPECT_EQ(At(zoom, 191, 120), kSectorGrey);
  EXPECT_EQ(At(zoom, 236, 120), kArc);
  // The same places on the face of the function at the top: not its sector.
  const auto& mouse = faces.Face(0);
  EXPECT_EQ(At(mouse, 191, 120), kBlack);
  EXPECT_EQ(At(mouse, 236, 120), kBlack);
  // ... whose arc is at the top, and whose sector is grey below its icon.
  EXPECT_EQ(At(mouse, 120, 3), kArc);
  EXPECT_EQ(At(zoom, 120, 3), kBlack);
  EXPECT_EQ(At(mouse, 120, 48), kSectorGrey);  // dial (360..362, 144..146)
  // Outside the circle: black, on every face.
  for (int f = 0; f < 8; ++f) {
    EXPECT_EQ(At(faces.Face(f), 0, 0), kBlack) << f;
    EXPECT_EQ(At(faces.Face(f), 239, 239), kBlack) << f;
  }
  // The inner disc keeps its colour: the fill does not run through it.
  EXPECT_EQ(At(zoom, 100, 100), 0x303030u);
  // Over a face a 100 x 100 picture was laid: the icon on the sector's grey.
  std::set<uint32_t> iconColours;
  for (int y = 120 - 16; y < 120 + 16; ++y) {
    for (int x = 210 - 16; x < 210 + 16; ++x) iconColours.insert(At(zoom, x, y));  // dial (630, 360)
  }
  EXPECT_GT(iconColours.size(), 2u);
}

TEST_F(WheelFaces, AFacePixelIsTheMeanOfItsThreeByThreeBlockOfTheDial) {
  TWin32WheelFaces faces(language);
  faces.ReloadNames();
  const auto& dial = faces.LastDial();  // the last face: Volume's
  const auto& face = faces.Face(7);
  int mixed = 0;
  // Along the arc's edge the blocks are mixed; each channel is their mean.
  for (int y = 20; y < 60; ++y) {
    for (int x = 20; x < 60; ++x) {
      uint32_t sum[3] = {};
      std::set<uint32_t> seen;
      for (int dy = 0; dy < 3; ++dy) {
        for (int dx = 0; dx < 3; ++dx) {
          const uint32_t p = dial[static_cast<size_t>((3 * y + dy) * 720 + 3 * x + dx)] & 0xFFFFFF;
          seen.insert(p);
          for (int c = 0; c < 3; ++c) sum[c] += (p >> (8 * c)) & 0xFF;
        }
      }
      mixed += seen.size() > 1;
      const uint32_t mean = (sum[0] / 9) | (sum[1] / 9) << 8 | (sum[2] / 9) << 16;
      ASSERT_EQ(At(face, x, y), mean) << x << "," << y;
    }
  }
  EXPECT_GT(mixed, 10);
}

TEST_F(WheelFaces, TheEightIconsAreDistinctPicturesOnBlack) {
  const auto icons = TWin32WheelFaces::DrawIcons();
  std::set<std::vector<uint32_t>> distinct;
  for (const auto& icon : icons) {
    ASSERT_EQ(icon.size(), 100u * 100u);
    EXPECT_EQ(icon[0] & 0xFFFFFF, 0u);  // the corner is transparent
    size_t inked = 0;
    for (uint32_t p : icon) inked += (p & 0xFFFFFF) != 0;
    EXPECT_GT(inked, 500u);
    distinct.insert(icon);
  }
  EXPECT_EQ(distinct.size(), 8u);
}

TEST(NoticeWindow, ItShowsRoundAtTheBottomCentreOnTopWithoutTheFocusAndHidesAfterItsFade) {
  Win32Clock clock;
  TWin32Notice notice(clock);
  ASSERT_NE(notice.Window(), nullptr);
  HWND focus = CreateWindowExW(0, L"STATIC", L"focus", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
  SetForegroundWindow(focus);
  const LONG_PTR ex = GetWindowLongPtrW(notice.Window(), GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  notice.Notice().SetNoticeText(u"Zoom");
  notice.Notice().ShowNotice(2);
  EXPECT_TRUE(IsWindowVisible(notice.Window()));
  RECT r{};
  GetWindowRect(notice.Window(), &r);
  EXPECT_EQ(r.right - r.left, 220);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 220) / 2);
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN) - 50);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(notice.Window(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  EXPECT_EQ(GetForegroundWindow(), focus);
  // The marker moved one place forward: (98 + 33, 98 - 84) + 12.
  EXPECT_EQ(GetPixel(notice.Composite(), 98 + 33 + 12, 98 - 84 + 12), RGB(41, 143, 204));
  if (const char* out = std::getenv("PEN_WHEEL_PICTURES")) {
    TGdiPlus gdiplus;
    SaveWindowShot(notice.Window(), std::string(out) + "/wheel-notice.png");
  }
  // Hidden once the second and the fade are over.
  for (int i = 0; i < 500 && IsWindowVisible(notice.Window()); ++i) clock.ProcessMessagesFor(10);
  EXPECT_FALSE(IsWindowVisible(notice.Window()));
  ASSERT_TRUE(GetLayeredWindowAttributes(notice.Window(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 35);
  DestroyWindow(focus);
}

}  // namespace
}  // namespace pen::win32
