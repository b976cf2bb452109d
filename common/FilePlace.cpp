#include "common/FilePlace.h"

namespace pen {

TFilePlace::TFilePlace(IAppFolders& folders, std::string title)
    : folders_(folders), title_(std::move(title)), path_(ProgramPath()) {}

std::string TFilePlace::ProgramPath() const { return folders_.ProgramFolder() + title_; }

std::string TFilePlace::UserPath() const {
  const std::string folder = folders_.UserFolder();
  return folder.empty() ? std::string() : folder + title_;
}

const std::string& TFilePlace::Locate(const PathTest& exists) {
  const std::string user = UserPath();
  path_ = !user.empty() && exists(user) ? user : ProgramPath();
  return path_;
}

bool TFilePlace::Write(const PathTest& write, const PathTest& makeFolder) {
  if (write(path_)) return true;
  const std::string user = UserPath();
  if (user.empty() || user == path_ || !makeFolder(folders_.UserFolder()) || !write(user)) return false;
  path_ = user;
  return true;
}

}  // namespace pen
