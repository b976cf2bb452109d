#include "mac/linux/XdgConfigFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace penmac::linux_layer {

namespace {

FileResult Failure(const std::string& what, const std::string& path, int error) {
  return FileResult{FileResult::Status::Failed, what + " " + path + ": " + std::strerror(error)};
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

XdgConfigFolder::XdgConfigFolder(std::string folder) : folder_(std::move(folder)) {}

std::string XdgConfigFolder::DefaultFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/penmac";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.config/penmac";
  return {};
}

std::string XdgConfigFolder::PathOf(std::string_view name) const { return folder_ + "/" + std::string(name); }

FileResult XdgConfigFolder::MakeFolder() {
  // Each missing level, private to the user like the rest of ~/.config.
  for (size_t slash = 1; slash <= folder_.size(); ++slash) {
    if (slash != folder_.size() && folder_[slash] != '/') continue;
    const std::string part = folder_.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return Failure("Cannot create the folder", part, errno);
  }
  return {};
}

FileResult XdgConfigFolder::Read(std::string_view name, std::string& contents) {
  const std::string path = PathOf(name);
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return FileResult{FileResult::Status::NotFound, "No file " + path};
    return Failure("Cannot read", path, errno);
  }
  std::string data;
  char buf[16384];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      close(fd);
      return Failure("Cannot read", path, error);
    }
    if (n == 0) break;
    if (data.size() + static_cast<size_t>(n) > kMaxFileSize) {
      close(fd);
      return FileResult{FileResult::Status::Failed, "The file " + path + " is too large to be a configuration file"};
    }
    data.append(buf, static_cast<size_t>(n));
  }
  close(fd);
  contents = std::move(data);
  return {};
}

FileResult XdgConfigFolder::Write(std::string_view name, std::string_view contents) {
  if (folder_.empty()) return FileResult{FileResult::Status::Failed, "No configuration folder (HOME is not set)"};
  if (FileResult made = MakeFolder(); !made.ok()) return made;
  const std::string path = PathOf(name);
  const std::string temporary = path + ".tmp" + std::to_string(getpid());
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return Failure("Cannot write", path, errno);
  // The old file stays whole until the new one is complete on disk.
  if (!WriteAll(fd, contents) || fsync(fd) != 0) {
    const int error = errno;
    close(fd);
    unlink(temporary.c_str());
    return Failure("Cannot write", path, error);
  }
  if (close(fd) != 0 || rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    return Failure("Cannot write", path, error);
  }
  return {};
}

FileResult XdgConfigFolder::MoveAside(std::string_view name, std::string_view backupName) {
  const std::string path = PathOf(name);
  if (rename(path.c_str(), PathOf(backupName).c_str()) == 0) return {};
  if (errno == ENOENT) return FileResult{FileResult::Status::NotFound, "No file " + path};
  return Failure("Cannot move aside the defective file", path, errno);
}

}  // namespace penmac::linux_layer
