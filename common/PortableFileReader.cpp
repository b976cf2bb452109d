#include "common/PortableFileReader.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace pen {

namespace fs = std::filesystem;

bool PortableFileReader::Exists(const std::string& fileName) {
  std::error_code ec;
  return fs::is_regular_file(fileName, ec);
}

bool PortableFileReader::ReadAll(const std::string& fileName, size_t maxBytes, std::string& bytes) {
  bytes.clear();
  std::error_code ec;
  if (!fs::is_regular_file(fileName, ec)) return false;
  const uintmax_t size = fs::file_size(fileName, ec);
  if (ec || size > maxBytes) return false;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return false;
  bytes.resize(static_cast<size_t>(size));
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  if (static_cast<uintmax_t>(in.gcount()) != size) {
    bytes.clear();
    return false;
  }
  return true;
}

}  // namespace pen
