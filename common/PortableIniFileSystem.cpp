#include "common/PortableIniFileSystem.h"

#include <filesystem>
#include <system_error>

#include "common/PortableIniFile.h"

namespace pen {

std::unique_ptr<IIniFile> PortableIniFileSystem::Open(const std::string& fileName) {
  return std::make_unique<PortableIniFile>(fileName);
}

bool PortableIniFileSystem::MakeFolder(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directory(folder, ec);
  return std::filesystem::is_directory(folder, ec);
}

}  // namespace pen
