#pragma once
#include "common/DataFiles.h"

namespace pen::win32 {

// IDataFiles with the Windows file functions (ANSI full paths).
class Win32DataFiles : public IDataFiles {
 public:
  bool Exists(const std::string& fileName) override;
  std::optional<size_t> Read(const std::string& fileName, uint8_t* out, size_t capacity) override;
  bool Replace(const std::string& fileName, const uint8_t* data, size_t size) override;
  bool Remove(const std::string& fileName) override;
  bool MakeFolder(const std::string& folder) override;
};

}  // namespace pen::win32
