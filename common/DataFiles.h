#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pen {

// Small binary files of the program (the button definitions), whole-file
// reads and writes only.
class IDataFiles {
 public:
  virtual ~IDataFiles() = default;

  virtual bool Exists(const std::string& fileName) = 0;

  // Reads up to `capacity` bytes from the start into `out`; the file's whole
  // size when it was read, nothing when it could not be opened or read.
  // A file longer than `capacity` reports its real size, so callers can tell.
  virtual std::optional<size_t> Read(const std::string& fileName, uint8_t* out, size_t capacity) = 0;

  // Replaces the whole file by `size` bytes. False when it could not be
  // written; an existing file is then left exactly as it was.
  virtual bool Replace(const std::string& fileName, const uint8_t* data, size_t size) = 0;

  // True when the file is gone afterwards (also when there was none).
  virtual bool Remove(const std::string& fileName) = 0;

  // Creates one folder level; true when the folder exists afterwards.
  virtual bool MakeFolder(const std::string& folder) = 0;
};

}  // namespace pen
