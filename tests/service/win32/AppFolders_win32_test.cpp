// Where the settings file may live on a real system.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/win32/Win32AppFolders.h"
#include "common/win32/WindowsVersion.h"

namespace pen::win32 {
namespace {

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

TEST(AppFolders, TheProgramFolderHoldsTheRunningExecutable) {
  Win32AppFolders folders;
  const std::string folder = folders.ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  EXPECT_EQ(std::string(path, length).rfind(folder, 0), 0u) << path;
}

TEST(AppFolders, TheUserFolderIsTheProgramsOwnInsideApplicationData) {
  Win32AppFolders folders;
  const std::string folder = folders.UserFolder();
  ASSERT_GE(folder.size(), 9u);
  EXPECT_EQ(folder.substr(folder.size() - 9), "\\penhost\\");
  EXPECT_TRUE(IsFolder(folder.substr(0, folder.size() - 9))) << folder;
}

TEST(AppFolders, TheSystemIsNewerThanThoseWithoutWindowsInk) {
  EXPECT_GE(WindowsMajorVersion(), 6);
}

}  // namespace
}  // namespace pen::win32
