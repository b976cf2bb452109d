#include "common/PortableIniFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "common/FileOps.h"
#include "common/IniText.h"
#include "common/IniValue.h"

namespace pen {

namespace fs = std::filesystem;

namespace {

enum class LoadResult { Missing, Loaded, Failed };

LoadResult Load(const std::string& fileName, std::string& text) {
  std::error_code ec;
  const fs::file_status status = fs::status(fileName, ec);
  if (status.type() == fs::file_type::not_found) return LoadResult::Missing;
  if (ec || !fs::is_regular_file(status)) return LoadResult::Failed;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return LoadResult::Failed;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return in.bad() ? LoadResult::Failed : LoadResult::Loaded;
}

}  // namespace

PortableIniFile::PortableIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

bool PortableIniFile::Exists() const {
  std::error_code ec;
  return fs::is_regular_file(FFileName, ec);
}

bool PortableIniFile::WriteWholeFile(std::string_view text) { return ReplaceFileContents(FFileName, text); }

int32_t PortableIniFile::ReadInteger(std::string_view section, std::string_view key,
                                     int32_t defaultValue) const {
  std::string text;
  if (Load(FFileName, text) != LoadResult::Loaded) return defaultValue;
  const auto value = FindIniValue(text, section, key);
  if (!value) return defaultValue;
  return ParseIniInteger(*value).value_or(defaultValue);
}

std::string PortableIniFile::ReadString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) const {
  std::string text;
  if (Load(FFileName, text) != LoadResult::Loaded) return std::string(defaultValue);
  const auto value = FindIniValue(text, section, key);
  return std::string(value ? *value : defaultValue);
}

bool PortableIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  std::string text;
  // A file that exists but cannot be read must not be replaced by one that
  // holds only this key.
  if (Load(FFileName, text) == LoadResult::Failed) return false;
  return WriteWholeFile(SetIniValue(text, section, key, std::to_string(value)));
}

}  // namespace pen
