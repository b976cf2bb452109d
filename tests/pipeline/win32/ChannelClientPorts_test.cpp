// A tablet-data client's side of the channel's system objects: it opens the
// service's block and mutex by name, never makes them, and registers by
// posting message A to the service's window.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "pipeline/SharedBlock.h"
#include "pipeline/SharedBlockLayout.h"
#include "pipeline/win32/Win32ChannelClientPorts.h"
#include "pipeline/win32/Win32SharedBlock.h"

namespace pen::win32 {
namespace {

TEST(Win32ClientBlock, FindsNothingWhileNoServiceMadeTheBlockAndMakesNothingItself) {
  TWin32ClientBlock client;
  SharedBlockView view;
  ASSERT_FALSE(client.Open(view));
  EXPECT_EQ(view.bytes, nullptr);
  EXPECT_FALSE(client.Lock(0));
  // Still nothing there for the next one to find.
  HANDLE m = OpenFileMappingA(FILE_MAP_READ, FALSE, tabshare::kMappingName);
  EXPECT_EQ(m, nullptr);
  if (m != nullptr) CloseHandle(m);
}

TEST(Win32ClientBlock, SharesTheServicesBlockAndMutex) {
  TWin32SharedBlock service;
  SharedBlockView serviceView;
  ASSERT_TRUE(service.Open(serviceView));
  TSharedBlock(serviceView.bytes, serviceView.size).SetTargetProcess(4242);

  TWin32ClientBlock client;
  SharedBlockView view;
  ASSERT_TRUE(client.Open(view));
  ASSERT_EQ(view.size, tabshare::kBlockSize);
  EXPECT_EQ(TSharedBlock(view.bytes, view.size).TargetProcess(), 4242u);
  // The mutex is one: held by the client, the service's wait runs out.
  ASSERT_TRUE(client.Lock(0));
  HANDLE other = nullptr;
  DWORD r = 0;
  std::thread([&] {
    other = OpenMutexA(SYNCHRONIZE, FALSE, tabshare::kMutexName);
    r = WaitForSingleObject(other, 10);
    if (r == WAIT_OBJECT_0) ReleaseMutex(other);
    CloseHandle(other);
  }).join();
  EXPECT_EQ(r, static_cast<DWORD>(WAIT_TIMEOUT));
  client.Unlock();
  client.Close();
  service.Close();
}

TEST(Win32ChannelService, PostsMessageAWithTheWindowAndProcessToTheServiceWindow) {
  TWin32ChannelService link;
  EXPECT_EQ(link.FindService(), 0u);
  ASSERT_NE(link.MessageA(), 0u);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TPenHostMain";
  RegisterClassA(&wc);
  // Hidden but top-level, as the service's window is: a look-up by class
  // and caption finds only those.
  HWND service = CreateWindowExA(0, "TPenHostMain", "70ea8e50-29b4-4832-b9f3-c75409347c2e", WS_POPUP, 0, 0, 0, 0,
                                 nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(service, nullptr);
  EXPECT_EQ(link.FindService(), reinterpret_cast<uintptr_t>(service));
  ASSERT_TRUE(link.Register(reinterpret_cast<uintptr_t>(service), 0x1234, 777));
  MSG m{};
  ASSERT_TRUE(PeekMessageA(&m, service, link.MessageA(), link.MessageA(), PM_REMOVE));
  EXPECT_EQ(m.wParam, 0x1234u);
  EXPECT_EQ(m.lParam, 777);
  DestroyWindow(service);
  UnregisterClassA("TPenHostMain", wc.hInstance);
}

}  // namespace
}  // namespace pen::win32
