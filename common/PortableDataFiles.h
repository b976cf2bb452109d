#pragma once
#include "common/DataFiles.h"

namespace pen {

// IDataFiles with the standard library.
class PortableDataFiles : public IDataFiles {
 public:
  bool Exists(const std::string& fileName) override;
  std::optional<size_t> Read(const std::string& fileName, uint8_t* out, size_t capacity) override;
  bool Replace(const std::string& fileName, const uint8_t* data, size_t size) override;
  bool Remove(const std::string& fileName) override;
  bool MakeFolder(const std::string& folder) override;
};

}  // namespace pen
