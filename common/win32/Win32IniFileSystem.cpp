#include "common/win32/Win32IniFileSystem.h"

#include <windows.h>

#include "common/win32/Win32IniFile.h"

namespace pen::win32 {

std::unique_ptr<IIniFile> Win32IniFileSystem::Open(const std::string& fileName) {
  return std::make_unique<Win32IniFile>(fileName);
}

bool Win32IniFileSystem::MakeFolder(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  CreateDirectoryA(path.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace pen::win32
