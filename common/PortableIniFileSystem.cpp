#include "common/PortableIniFileSystem.h"

#include "common/FileOps.h"
#include "common/PortableIniFile.h"

namespace pen {

std::unique_ptr<IIniFile> PortableIniFileSystem::Open(const std::string& fileName) {
  return std::make_unique<PortableIniFile>(fileName);
}

bool PortableIniFileSystem::MakeFolder(const std::string& folder) { return MakeFolderLevel(folder); }

}  // namespace pen
