#include "common/win32/Win32IniFileSystem.h"

#include "common/win32/Win32FileOps.h"
#include "common/win32/Win32IniFile.h"

namespace pen::win32 {

std::unique_ptr<IIniFile> Win32IniFileSystem::Open(const std::string& fileName) {
  return std::make_unique<Win32IniFile>(fileName);
}

bool Win32IniFileSystem::MakeFolder(const std::string& folder) { return MakeFolderLevel(folder); }

}  // namespace pen::win32
