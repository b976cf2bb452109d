#pragma once
#include <functional>
#include <string>

#include "common/AppFolders.h"

namespace pen {

// Where one of the program's own files lives: beside the executable, or in
// the user's own folder once the program's folder proved not writable (a
// protected install folder, a read-only medium). A copy in the user's folder
// exists only because of such a failure, so it holds the newer data and is
// preferred from then on.
class TFilePlace {
 public:
  using PathTest = std::function<bool(const std::string& path)>;

  TFilePlace(IAppFolders& folders, std::string title);

  // Chooses the file: the user's copy when `exists` finds it, else the one
  // beside the program.
  const std::string& Locate(const PathTest& exists);
  const std::string& Path() const { return path_; }

  // Runs `write` on the current file. When that fails and the file is not in
  // the user's folder yet, makes that folder (`makeFolder`) and runs `write`
  // there, which becomes the file on success. False when stored nowhere.
  bool Write(const PathTest& write, const PathTest& makeFolder);

  // Both places the file can have (the user's is empty when unknown).
  std::string ProgramPath() const;
  std::string UserPath() const;

 private:
  IAppFolders& folders_;
  std::string title_;
  std::string path_;
};

}  // namespace pen
