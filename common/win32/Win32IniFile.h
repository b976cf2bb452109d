#pragma once
#include <string>

#include "common/IniFile.h"

namespace pen::win32 {

// An INI file through the Windows private-profile functions (ANSI), the
// system's own keeper of such files. Integer values are read as text and
// parsed by the shared rule (IniValue.h), not by GetPrivateProfileIntA.
// The file name must be a full path: a bare name would be looked up in the
// Windows folder.
class Win32IniFile : public IIniFile {
 public:
  explicit Win32IniFile(std::string fileName);

  const std::string& FileName() const override { return FFileName; }
  bool Exists() const override;
  bool WriteWholeFile(std::string_view text) override;
  int32_t ReadInteger(std::string_view section, std::string_view key,
                      int32_t defaultValue) const override;
  bool WriteInteger(std::string_view section, std::string_view key, int32_t value) override;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override;

 private:
  std::string FFileName;
};

}  // namespace pen::win32
