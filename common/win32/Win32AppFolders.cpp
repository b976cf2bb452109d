#include "common/win32/Win32AppFolders.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace pen::win32 {

namespace {

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder.push_back('\\');
  return folder;
}

}  // namespace

std::string Win32AppFolders::ProgramFolder() {
  // Paths may be longer than MAX_PATH; grow until the name fits.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) {
      std::string path(buffer.data(), length);
      const size_t slash = path.find_last_of("\\/");
      return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    if (buffer.size() >= 32768) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

std::string Win32AppFolders::UserFolder() {
  char path[MAX_PATH];
  std::string base;
  if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
    base = path;
  } else {
    // Without the shell's answer, the environment still names the folder.
    const DWORD length = GetEnvironmentVariableA("APPDATA", path, sizeof path);
    if (length > 0 && length < sizeof path) base.assign(path, length);
  }
  if (base.empty()) return std::string();
  return WithSeparator(base) + "penhost\\";
}

}  // namespace pen::win32
