#include "common/win32/Win32DataFiles.h"

#include <windows.h>

#include <string_view>

#include "common/win32/Win32FileOps.h"

namespace pen::win32 {

bool Win32DataFiles::Exists(const std::string& fileName) { return IsPlainFile(fileName); }

std::optional<size_t> Win32DataFiles::Read(const std::string& fileName, uint8_t* out, size_t capacity) {
  HANDLE file = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) != 0 && size.QuadPart >= 0;
  size_t want = 0;
  if (ok) {
    want = static_cast<uint64_t>(size.QuadPart) < capacity ? static_cast<size_t>(size.QuadPart) : capacity;
    DWORD got = 0;
    ok = want == 0 || (ReadFile(file, out, static_cast<DWORD>(want), &got, nullptr) && got == want);
  }
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return static_cast<size_t>(size.QuadPart);
}

bool Win32DataFiles::Replace(const std::string& fileName, const uint8_t* data, size_t size) {
  return ReplaceFileContents(fileName, std::string_view(reinterpret_cast<const char*>(data), size));
}

bool Win32DataFiles::Remove(const std::string& fileName) {
  DeleteFileA(fileName.c_str());
  return GetFileAttributesA(fileName.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool Win32DataFiles::MakeFolder(const std::string& folder) { return MakeFolderLevel(folder); }

}  // namespace pen::win32
