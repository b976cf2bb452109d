#pragma once
#include <string>
#include <string_view>

// The per-user folder that holds the configuration files, addressed by file
// name only.
namespace penmac {

struct FileResult {
  enum class Status { Ok, NotFound, Failed };
  Status status = Status::Ok;
  std::string error;  // what went wrong, in words a user can act on
  bool ok() const { return status == Status::Ok; }
};

class IConfigFolder {
 public:
  virtual ~IConfigFolder() = default;
  // The whole file. NotFound when there is no file of that name.
  virtual FileResult Read(std::string_view name, std::string& contents) = 0;
  // Replaces the file as a whole: the old contents stay intact until the new
  // ones are complete (temporary file, then rename). Creates the folder.
  virtual FileResult Write(std::string_view name, std::string_view contents) = 0;
  // Takes a defective file out of the way under `backupName`, replacing an
  // older backup. NotFound when there is no file of that name.
  virtual FileResult MoveAside(std::string_view name, std::string_view backupName) = 0;
};

}  // namespace penmac
