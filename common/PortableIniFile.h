#pragma once
#include <string>

#include "common/IniFile.h"

namespace pen {

// An INI file read and written with the standard library, with the
// semantics of the Windows private-profile functions (see IniText.h).
// Every call reads the file afresh, so changes by others are seen at once.
class PortableIniFile : public IIniFile {
 public:
  explicit PortableIniFile(std::string fileName);

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

}  // namespace pen
