#include "common/PortableDataFiles.h"

#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "common/FileOps.h"

namespace pen {

namespace fs = std::filesystem;

bool PortableDataFiles::Exists(const std::string& fileName) {
  std::error_code ec;
  return fs::is_regular_file(fileName, ec);
}

std::optional<size_t> PortableDataFiles::Read(const std::string& fileName, uint8_t* out, size_t capacity) {
  std::error_code ec;
  if (!fs::is_regular_file(fileName, ec)) return std::nullopt;
  const uintmax_t size = fs::file_size(fileName, ec);
  if (ec) return std::nullopt;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return std::nullopt;
  const size_t want = size < capacity ? static_cast<size_t>(size) : capacity;
  in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(want));
  if (static_cast<size_t>(in.gcount()) != want) return std::nullopt;
  return static_cast<size_t>(size);
}

bool PortableDataFiles::Replace(const std::string& fileName, const uint8_t* data, size_t size) {
  return ReplaceFileContents(fileName, std::string_view(reinterpret_cast<const char*>(data), size));
}

bool PortableDataFiles::Remove(const std::string& fileName) {
  std::error_code ec;
  fs::remove(fileName, ec);
  return !fs::exists(fileName, ec) && !ec;
}

bool PortableDataFiles::MakeFolder(const std::string& folder) { return MakeFolderLevel(folder); }

}  // namespace pen
