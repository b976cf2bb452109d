#include "pipeline/win32/Win32MouseInput.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "pipeline/win32/Win32DisplayInfo.h"

namespace pen::win32 {
namespace {

POINT MoveTo(int32_t dx, int32_t dy) {
  Win32MouseInput mouse;
  mouse.MouseEvent(mouse_flags::kMove | mouse_flags::kAbsolute, dx, dy, 0, 0);
  POINT p{-1, -1};
  GetCursorPos(&p);
  return p;
}

TEST(Win32MouseInput, AbsoluteMovesSpanThePrimaryMonitor) {
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_GT(w, 0);
  POINT c = MoveTo(32768, 32768);
  EXPECT_NEAR(c.x, w / 2, 1);
  EXPECT_NEAR(c.y, h / 2, 1);
  POINT o = MoveTo(0, 0);
  EXPECT_EQ(o.x, 0);
  EXPECT_EQ(o.y, 0);
  POINT e = MoveTo(65535, 65535);
  EXPECT_NEAR(e.x, w - 1, 1);
  EXPECT_NEAR(e.y, h - 1, 1);
}

TEST(Win32MouseInput, AButtonEdgeMovesInTheSameEvent) {
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  Win32MouseInput mouse;
  mouse.MouseEvent(mouse_flags::kMove | mouse_flags::kAbsolute | mouse_flags::kLeftDown, 16384, 16384, 0, 0);
  POINT p{};
  GetCursorPos(&p);
  mouse.MouseEvent(mouse_flags::kMove | mouse_flags::kAbsolute | mouse_flags::kLeftUp, 16384, 16384, 0, 0);
  EXPECT_NEAR(p.x, w / 4, 1);
  EXPECT_NEAR(p.y, h / 4, 1);
}

TEST(Win32DisplayInfo, MatchesTheSystemMetrics) {
  Win32DisplayInfo display;
  DisplayGeometry g = display.Read();
  EXPECT_EQ(g.virtualLeft, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(g.virtualTop, GetSystemMetrics(SM_YVIRTUALSCREEN));
  EXPECT_EQ(g.virtualWidth, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(g.virtualHeight, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  if (GetSystemMetrics(SM_CMONITORS) == 1) {
    EXPECT_EQ(g.primaryWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(g.primaryHeight, GetSystemMetrics(SM_CYSCREEN));
  }
  EXPECT_GT(g.primaryWidth, 0);
  EXPECT_LE(g.primaryWidth, g.virtualWidth);
}

}  // namespace
}  // namespace pen::win32
