// The window base of the settings windows and the scoped GDI objects they
// paint with.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ui/win32/DialogKeys.h"
#include "ui/win32/Gdi.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/Win32Window.h"

namespace pen::win32 {
namespace {

constexpr const wchar_t* kProbeClass = L"PenWindowProbe";
constexpr const wchar_t* kProbeChildClass = L"PenWindowProbeChild";

// The thread's messages for a while, as the program's loop runs them.
void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (HandleDialogKeys(m)) continue;
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

// A window that counts what reaches its handlers.
class TProbe final : public TWin32Window {
 public:
  ~TProbe() override { Destroy(); }
  bool Make(DWORD exStyle = 0) {
    Style style;
    style.exStyle = exStyle;
    style.width = 120;
    style.height = 80;
    if (!CreateWindowOf({kProbeClass}, style)) return false;
    TakeDialogKeys(Window());
    return true;
  }
  HWND Child(int id) {
    RegisterChildClass({kProbeChildClass});
    return CreateChild(kProbeChildClass, WS_VISIBLE, 0, id, {10, 10, 50, 30});
  }
  using TWin32Window::SetAlpha;
  using TWin32Window::ShowCentred;

  int closes = 0;
  int enters = 0;
  int paints = 0;
  std::vector<UINT_PTR> timers;
  std::vector<int> paintedChildren;
  std::vector<int> clickedChildren;

 private:
  void OnClose() override { ++closes; }
  void OnEnter() override { ++enters; }
  void OnPaint(HDC dc) override {
    ++paints;
    Fill(dc, {0, 0, 120, 80}, RGB(0x20, 0x40, 0x60));
  }
  void OnTimer(UINT_PTR id) override {
    timers.push_back(id);
    KillTimer(Window(), id);
  }
  void OnPaintChild(int id, HWND, HDC) override { paintedChildren.push_back(id); }
  LRESULT OnChildMessage(int id, HWND child, UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_LBUTTONDOWN) clickedChildren.push_back(id);
    return TWin32Window::OnChildMessage(id, child, msg, wp, lp);
  }
};

TEST(GdiObjects, AScopedSelectionPutsBackTheObjectItReplacedAndTheObjectIsDeletedAfterIt) {
  const TMemoryDc dc;
  const HGDIOBJ before = GetCurrentObject(dc, OBJ_BRUSH);
  HBRUSH made = nullptr;
  {
    const TBrush brush = SolidBrush(RGB(1, 2, 3));
    made = brush;
    ASSERT_EQ(GetObjectType(made), static_cast<DWORD>(OBJ_BRUSH));
    const TSelection use(dc, brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), made);
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), before);
  // Gone with its owner: a brush still selected could not have been deleted.
  EXPECT_EQ(GetObjectType(made), 0u);
}

TEST(GdiObjects, AMovedObjectIsDeletedOnceByItsLastOwner) {
  TPen first = SolidPen(RGB(0, 0, 0xFF), 2);
  const HPEN pen = first;
  TPen second = std::move(first);
  EXPECT_EQ(first.Get(), nullptr);
  EXPECT_EQ(second.Get(), pen);
  second = SolidPen(RGB(0, 0, 0));
  EXPECT_EQ(GetObjectType(pen), 0u);
  EXPECT_NE(GetObjectType(second), 0u);
}

TEST(GdiObjects, AnOffScreenPictureKeepsWhatIsDrawnAndLetsItsBitmapGo) {
  const TWindowDc screen;
  HBITMAP bitmap = nullptr;
  {
    const TBitmapDc picture(screen, 16, 8);
    ASSERT_TRUE(picture.Ok());
    bitmap = static_cast<HBITMAP>(GetCurrentObject(picture, OBJ_BITMAP));
    Fill(picture, {0, 0, 16, 8}, RGB(0xFF, 0, 0));
    EXPECT_EQ(GetPixel(picture, 15, 7), RGB(0xFF, 0, 0));
    BITMAP bm{};
    ASSERT_NE(GetObjectW(bitmap, sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmWidth, 16);
    EXPECT_EQ(bm.bmHeight, 8);
  }
  EXPECT_EQ(GetObjectType(bitmap), 0u);
}

TEST(WindowBase, ItsClassIsRegisteredOnceForAnyNumberOfWindowsAndIsAUnicodeClass) {
  EXPECT_TRUE(RegisterClassOnce({L"PenWindowProbeOnce"}, &DefWindowProcW));
  EXPECT_TRUE(RegisterClassOnce({L"PenWindowProbeOnce"}, &DefWindowProcW));
  TProbe one, two;
  ASSERT_TRUE(one.Make());
  ASSERT_TRUE(two.Make());
  EXPECT_NE(one.Window(), two.Window());
  EXPECT_TRUE(IsWindowUnicode(one.Window()));
  // Made and hidden; titled only when shown.
  EXPECT_FALSE(IsWindowVisible(one.Window()));
  RECT r{};
  GetClientRect(one.Window(), &r);
  EXPECT_EQ(r.right, 120);
  EXPECT_EQ(r.bottom, 80);
}

TEST(WindowBase, CloseAndEscapeEachCallOnCloseOnceAndTheWindowStays) {
  TProbe probe;
  ASSERT_TRUE(probe.Make());
  probe.ShowCentred(HWND_TOP);
  PumpFor(50);
  PostMessageW(probe.Window(), WM_CLOSE, 0, 0);
  PumpFor(50);
  EXPECT_EQ(probe.closes, 1);
  EXPECT_TRUE(IsWindow(probe.Window()));
  EXPECT_TRUE(IsWindowVisible(probe.Window()));
  // Esc and Enter as the dialog keys bring them.
  SetFocus(probe.Window());
  PostMessageW(probe.Window(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpFor(50);
  EXPECT_EQ(probe.closes, 2);
  PostMessageW(probe.Window(), WM_KEYDOWN, VK_RETURN, 0);
  PumpFor(50);
  EXPECT_EQ(probe.enters, 1);
  EXPECT_EQ(probe.closes, 2);
}

TEST(WindowBase, TheWindowGoesWithItsObject) {
  HWND window = nullptr;
  {
    TProbe probe;
    ASSERT_TRUE(probe.Make());
    window = probe.Window();
    ASSERT_TRUE(IsWindow(window));
  }
  EXPECT_FALSE(IsWindow(window));
}

TEST(WindowBase, ShownItIsCentredPaintedAndItsPictureIsSavedWithoutReachingOnTimer) {
  TGdiPlus gdiplus;
  char path[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, path);
  const std::string png = std::string(path) + "pen-window-probe.png";
  DeleteFileA(png.c_str());
  TProbe probe;
  ASSERT_TRUE(probe.Make());
  probe.ScreenshotAfterShow(png, 20);
  SetTimer(probe.Window(), 7, 10, nullptr);
  probe.ShowCentred(HWND_TOP);
  PumpFor(300);
  RECT r{};
  GetWindowRect(probe.Window(), &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 120) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 80) / 2);
  EXPECT_GE(probe.paints, 1);
  EXPECT_EQ(probe.timers, std::vector<UINT_PTR>{7});
  std::ifstream in(png, std::ios::binary);
  char magic[4] = {};
  in.read(magic, 4);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
  in.close();
  DeleteFileA(png.c_str());
}

TEST(WindowBase, OwnerDrawnChildrenArePaintedAndHeardByTheirId) {
  TProbe probe;
  ASSERT_TRUE(probe.Make());
  HWND child = probe.Child(42);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetParent(child), probe.Window());
  probe.ShowCentred(HWND_TOP);
  UpdateWindow(child);
  PumpFor(50);
  ASSERT_FALSE(probe.paintedChildren.empty());
  EXPECT_EQ(probe.paintedChildren.back(), 42);
  SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(probe.clickedChildren, std::vector<int>{42});
}

TEST(WindowBase, ALayeredWindowShowsAtItsAlphaAndANoActivateOneLeavesTheForegroundAlone) {
  TProbe front;
  ASSERT_TRUE(front.Make());
  front.ShowCentred(HWND_TOP);
  PumpFor(50);
  ASSERT_EQ(GetForegroundWindow(), front.Window());
  TProbe notice;
  ASSERT_TRUE(notice.Make(WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
  ASSERT_TRUE(notice.SetAlpha(128));
  notice.ShowCentred(HWND_TOPMOST);
  PumpFor(50);
  EXPECT_TRUE(IsWindowVisible(notice.Window()));
  EXPECT_EQ(GetForegroundWindow(), front.Window());
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(notice.Window(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_TRUE(flags & LWA_ALPHA);
}

}  // namespace
}  // namespace pen::win32
