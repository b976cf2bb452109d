#include "inkprobe/win32/Win32Files.h"

#include <windows.h>

namespace pen::win32 {

bool TWin32Files::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TWin32Files::Rename(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

}  // namespace pen::win32
