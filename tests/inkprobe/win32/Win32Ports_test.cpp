#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "inkprobe/PathText.h"
#include "inkprobe/win32/ToolhelpProcesses.h"
#include "inkprobe/win32/Win32ClassRegistry.h"
#include "inkprobe/win32/Win32Desktop.h"
#include "inkprobe/win32/Win32Files.h"

namespace pen::win32 {
namespace {

std::string OwnPath() {
  char path[MAX_PATH + 1] = {};
  return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}

TEST(ToolhelpProcesses, ListsThisProcessUnderItsExecutableName) {
  TToolhelpProcesses processes;
  std::vector<TProcessEntry> list;
  ASSERT_TRUE(processes.ListProcesses(list));
  bool found = false;
  for (const TProcessEntry& p : list) {
    if (p.id == GetCurrentProcessId()) {
      found = true;
      EXPECT_TRUE(EqualsIgnoringAsciiCase(FileNameOf(p.exeFile), FileNameOf(OwnPath()))) << p.exeFile;
    }
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(processes.CurrentProcessId(), GetCurrentProcessId());
}

TEST(ToolhelpProcesses, ModulesStartWithTheExecutableAndIdZeroListsNothing) {
  TToolhelpProcesses processes;
  std::vector<TModuleEntry> modules;
  ASSERT_TRUE(processes.ListModules(GetCurrentProcessId(), modules));
  ASSERT_FALSE(modules.empty());
  EXPECT_TRUE(EqualsIgnoringAsciiCase(modules.front().path, OwnPath())) << modules.front().path;
  modules.clear();
  EXPECT_FALSE(processes.ListModules(0, modules));
  EXPECT_TRUE(modules.empty());
}

TEST(ToolhelpProcesses, ImagePathOfThisProcessIsItsExecutable) {
  TToolhelpProcesses processes;
  std::string path;
  ASSERT_TRUE(processes.ImagePath(GetCurrentProcessId(), path));
  EXPECT_TRUE(EqualsIgnoringAsciiCase(path, OwnPath())) << path;
}

TEST(ToolhelpProcesses, ProcessThatNoLongerExistsIsGoneAndCannotBeInspected) {
  TToolhelpProcesses processes;
  const uint32_t gone = 0xFFFFFFF0u;
  std::string path;
  std::vector<TModuleEntry> modules;
  EXPECT_EQ(processes.Terminate(gone), TTerminateOutcome::Gone);
  EXPECT_FALSE(processes.ImagePath(gone, path));
  EXPECT_TRUE(!processes.ListModules(gone, modules) || modules.empty());
}

TEST(Win32ClassRegistry, UnknownProgIdsAndKeysAreReportedMissing) {
  TWin32ClassRegistry registry;
  EXPECT_FALSE(registry.ProgIdRegistered("NoSuch.InkProbeTestControl"));
  std::string value = "untouched";
  EXPECT_FALSE(registry.ReadClassesRootDefault("CLSID\\{00000000-1111-2222-3333-444455556666}\\LocalServer32", value));
  EXPECT_EQ(value, "untouched");
}

TEST(Win32ClassRegistry, DefaultValueIsReadWithoutItsTerminatingNul) {
  const char* key = "InkProbe.AdapterTest";
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr), ERROR_SUCCESS);
  const char text[] = "C:\\Ink\\wisptis.exe";
  RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
  RegCloseKey(k);
  TWin32ClassRegistry registry;
  std::string value;
  EXPECT_TRUE(registry.ReadClassesRootDefault(key, value));
  EXPECT_EQ(value, text);
  RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
}

TEST(Win32Files, ExistsMeansAFileAndRenameMovesIt) {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string dir = temp;
  const std::string from = dir + "inkprobe-adapter-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  const std::string to = from + ".renamed";
  TWin32Files files;
  EXPECT_FALSE(files.FileExists(dir));  // a folder is not a file
  CloseHandle(CreateFileA(from.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  EXPECT_TRUE(files.FileExists(from));
  EXPECT_TRUE(files.Rename(from, to));
  EXPECT_FALSE(files.FileExists(from));
  EXPECT_TRUE(files.FileExists(to));
  EXPECT_FALSE(files.Rename(from, to));  // gone
  DeleteFileA(to.c_str());
}

TEST(Win32Desktop, QuitGoesToTheWindowOfTheClassAndNowhereWithoutOne) {
  TWin32Desktop desktop;
  const char* cls = "InkProbeAdapterTestWindow";
  EXPECT_FALSE(desktop.PostQuitToWindowOfClass(cls));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // nothing landed in our queue

  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = cls;
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND window = CreateWindowExA(0, cls, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(desktop.PostQuitToWindowOfClass(cls));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, window);
  DestroyWindow(window);
  UnregisterClassA(cls, wc.hInstance);
}

}  // namespace
}  // namespace pen::win32
