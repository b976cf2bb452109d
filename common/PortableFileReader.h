#pragma once
#include "common/FileReader.h"

namespace pen {

// IFileReader with the standard library.
class PortableFileReader final : public IFileReader {
 public:
  bool Exists(const std::string& fileName) override;
  bool ReadAll(const std::string& fileName, size_t maxBytes, std::string& bytes) override;
};

}  // namespace pen
