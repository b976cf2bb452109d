#pragma once
#include "common/FileReader.h"

namespace pen::win32 {

// IFileReader with the ANSI file calls, like the rest of the program's files.
class Win32FileReader final : public IFileReader {
 public:
  bool Exists(const std::string& fileName) override;
  bool ReadAll(const std::string& fileName, size_t maxBytes, std::string& bytes) override;
};

}  // namespace pen::win32
