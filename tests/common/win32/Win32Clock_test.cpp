#include "common/win32/Win32Clock.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace pen::win32 {
namespace {

TEST(Win32Clock, AQuitEndsTheWaitThatMeetsItAndEveryLaterOneAndStaysForTheMainLoop) {
  Win32Clock clock;
  EXPECT_FALSE(clock.Quitting());
  PostQuitMessage(7);
  const DWORD start = GetTickCount();
  clock.ProcessMessagesFor(2000);
  EXPECT_TRUE(clock.Quitting());
  clock.ProcessMessagesFor(2000);
  EXPECT_LT(GetTickCount() - start, 1000u);
  MSG m;
  bool quit = false;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) quit = quit || (m.message == WM_QUIT && m.wParam == 7);
  EXPECT_TRUE(quit);
}

TEST(Win32Clock, AWaitWithoutAQuitRunsPostedMessagesForItsWholeLength) {
  Win32Clock clock;
  PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);  // taken and dropped: no window
  const DWORD start = GetTickCount();
  clock.ProcessMessagesFor(300);
  EXPECT_GE(GetTickCount() - start, 290u);
  EXPECT_FALSE(clock.Quitting());
}

}  // namespace
}  // namespace pen::win32
