#pragma once
#include <cstddef>
#include <string>

namespace pen {

// Reads the program's own data files (pictures, language files, the support
// address) by full name.
class IFileReader {
 public:
  virtual ~IFileReader() = default;

  // True for an existing regular file (not a folder).
  virtual bool Exists(const std::string& fileName) = 0;

  // The whole file. False when it is missing, cannot be read or is larger
  // than `maxBytes`; `bytes` is then empty.
  virtual bool ReadAll(const std::string& fileName, size_t maxBytes, std::string& bytes) = 0;
};

}  // namespace pen
