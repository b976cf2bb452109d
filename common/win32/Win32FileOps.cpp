#include "common/win32/Win32FileOps.h"

#include <windows.h>

namespace pen::win32 {

bool ReplaceFileContents(const std::string& fileName, std::string_view bytes) {
  const std::string temporary = fileName + ".new";
  HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  std::string_view rest = bytes;
  while (ok && !rest.empty()) {
    DWORD written = 0;
    const DWORD chunk = rest.size() > 0x10000 ? 0x10000 : static_cast<DWORD>(rest.size());
    ok = WriteFile(file, rest.data(), chunk, &written, nullptr) && written == chunk;
    rest.remove_prefix(written);
  }
  ok = CloseHandle(file) && ok;
  if (ok) ok = MoveFileExA(temporary.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  if (!ok) DeleteFileA(temporary.c_str());
  return ok;
}

bool MakeFolderLevel(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  CreateDirectoryA(path.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsPlainFile(const std::string& fileName) {
  const DWORD attributes = GetFileAttributesA(fileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace pen::win32
