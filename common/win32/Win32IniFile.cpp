#include "common/win32/Win32IniFile.h"

#include <windows.h>

#include "common/IniValue.h"
#include "common/win32/Win32FileOps.h"

namespace pen::win32 {

Win32IniFile::Win32IniFile(std::string fileName) : FFileName(std::move(fileName)) {}

bool Win32IniFile::Exists() const { return IsPlainFile(FFileName); }

bool Win32IniFile::WriteWholeFile(std::string_view text) { return ReplaceFileContents(FFileName, text); }

int32_t Win32IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  int32_t defaultValue) const {
  const std::string sectionZ(section), keyZ(key);
  char value[64];
  const DWORD length = GetPrivateProfileStringA(sectionZ.c_str(), keyZ.c_str(), "", value,
                                                sizeof value, FFileName.c_str());
  // A value that fills the buffer was cut short: no 32-bit number is that long.
  if (length >= sizeof value - 1) return defaultValue;
  return ParseIniInteger(std::string_view(value, length)).value_or(defaultValue);
}

std::string Win32IniFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
  const std::string sectionZ(section), keyZ(key), fallback(defaultValue);
  // The call cuts a long value short without saying so: grow until it fits.
  std::string value(256, '\0');
  for (;;) {
    const DWORD length = GetPrivateProfileStringA(sectionZ.c_str(), keyZ.c_str(), fallback.c_str(), value.data(),
                                                  static_cast<DWORD>(value.size()), FFileName.c_str());
    if (length < value.size() - 1 || value.size() >= 65536) {
      value.resize(length);
      return value;
    }
    value.resize(value.size() * 4);
  }
}

bool Win32IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  const std::string sectionZ(section), keyZ(key), text = std::to_string(value);
  return WritePrivateProfileStringA(sectionZ.c_str(), keyZ.c_str(), text.c_str(),
                                    FFileName.c_str()) != 0;
}

}  // namespace pen::win32
