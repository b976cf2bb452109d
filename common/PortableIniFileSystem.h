#pragma once
#include "common/IniFile.h"

namespace pen {

// Opens PortableIniFile objects and makes folders with the standard library.
class PortableIniFileSystem : public IIniFileSystem {
 public:
  std::unique_ptr<IIniFile> Open(const std::string& fileName) override;
  bool MakeFolder(const std::string& folder) override;
};

}  // namespace pen
