#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace pen {

// One INI file as the settings code needs it: integers and texts by section
// and key, plus what creating a missing file takes. Section and key names compare
// without regard to case; writing one value leaves comments, other keys and
// other sections in place.
class IIniFile {
 public:
  virtual ~IIniFile() = default;

  // Full name of the file, as it was opened.
  virtual const std::string& FileName() const = 0;

  virtual bool Exists() const = 0;

  // Replaces the whole file by `text`, byte for byte (used to create a
  // missing file with its factory content). False when it could not be
  // written; an existing file is then left exactly as it was.
  virtual bool WriteWholeFile(std::string_view text) = 0;

  // A missing file, section or key, an empty value or a value that is not a
  // number (see ParseIniInteger) gives `defaultValue`.
  virtual int32_t ReadInteger(std::string_view section, std::string_view key,
                              int32_t defaultValue) const = 0;

  // The value as it stands (blanks around it and matching quotes removed);
  // `defaultValue` when the file, section or key is missing.
  virtual std::string ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const = 0;

  // Sets one key to a decimal value, creating the file, the section or the
  // key as needed. False when the file could not be written; the file is
  // then left as it was.
  virtual bool WriteInteger(std::string_view section, std::string_view key,
                            int32_t value) = 0;
};

// Opens INI files and makes folders for them (one implementation per back end).
class IIniFileSystem {
 public:
  virtual ~IIniFileSystem() = default;

  // Never fails: a file that does not exist yet reads as empty.
  virtual std::unique_ptr<IIniFile> Open(const std::string& fileName) = 0;

  // Creates one folder level; true when the folder exists afterwards.
  virtual bool MakeFolder(const std::string& folder) = 0;
};

}  // namespace pen
