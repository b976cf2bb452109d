#pragma once
#include "common/IniFile.h"

namespace pen::win32 {

// Opens Win32IniFile objects and makes folders with the Windows API.
class Win32IniFileSystem : public IIniFileSystem {
 public:
  std::unique_ptr<IIniFile> Open(const std::string& fileName) override;
  bool MakeFolder(const std::string& folder) override;
};

}  // namespace pen::win32
