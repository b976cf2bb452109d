#include "common/win32/Win32FileReader.h"

#include <windows.h>

namespace pen::win32 {

bool Win32FileReader::Exists(const std::string& fileName) {
  const DWORD attributes = GetFileAttributesA(fileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileReader::ReadAll(const std::string& fileName, size_t maxBytes, std::string& bytes) {
  bytes.clear();
  HANDLE file = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 && static_cast<uint64_t>(size.QuadPart) <= maxBytes;
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (ok && done < bytes.size()) {
      DWORD got = 0;
      const size_t rest = bytes.size() - done;
      const DWORD chunk = rest > 0x100000 ? 0x100000 : static_cast<DWORD>(rest);
      ok = ReadFile(file, bytes.data() + done, chunk, &got, nullptr) && got == chunk;
      done += got;
    }
  }
  CloseHandle(file);
  if (!ok) bytes.clear();
  return ok;
}

}  // namespace pen::win32
