#pragma once
#include <string>

namespace pen {

// Where the program keeps its files. Both folders end with the path
// separator, so a file title is appended directly.
class IAppFolders {
 public:
  virtual ~IAppFolders() = default;

  // The folder of the program's executable.
  virtual std::string ProgramFolder() = 0;

  // The program's own folder inside the user's per-user application data
  // (it may not exist yet); empty when the system does not tell.
  virtual std::string UserFolder() = 0;
};

}  // namespace pen
