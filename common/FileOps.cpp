#include "common/FileOps.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace pen {

namespace fs = std::filesystem;

bool ReplaceFileContents(const std::string& fileName, std::string_view bytes) {
  const std::string temporary = fileName + ".new";
  std::error_code ec;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temporary, ec);
      return false;
    }
  }
  fs::rename(temporary, fileName, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}

bool MakeFolderLevel(const std::string& folder) {
  std::error_code ec;
  fs::create_directory(folder, ec);
  return fs::is_directory(folder, ec);
}

}  // namespace pen
