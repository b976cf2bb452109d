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

std::string XdgConfigFolder::Resolve(const std::string& path) {
  // A dotfile manager links the file to its own store: reading and writing
  // go to the link's target, so that the link stays a link. Only the last
  // component is followed here; the final open refuses a link that appears
  // after this step.
  std::string resolved = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st{};
    if (lstat(resolved.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return resolved;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 0) + 256, '\0');
    const ssize_t n = readlink(resolved.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<size_t>(n) >= target.size()) return resolved;
    target.resize(static_cast<size_t>(n));
    if (target.empty()) return resolved;
    if (target[0] != '/') target = resolved.substr(0, resolved.rfind('/') + 1) + target;
    resolved = std::move(target);
  }
  return resolved;
}

FileResult XdgConfigFolder::Read(std::string_view name, std::string& contents) {
  const std::string path = PathOf(name);
  // Non-blocking, so that a FIFO in the file's place fails below instead of
  // waiting for a writer; not following a link, so that only what Resolve
  // chose is opened.
  const int fd = open(Resolve(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return FileResult{FileResult::Status::NotFound, "No file " + path};
    return Failure("Cannot read", path, errno);
  }
  struct stat st{};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return FileResult{FileResult::Status::Failed, "Cannot read " + path + ": not a regular file"};
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
  const std::string target = Resolve(path);
  const size_t slash = target.rfind('/');
  // A fresh name that nobody can have planted: mkstemp creates it with
  // O_EXCL, private to the user, beside the target so that the rename stays
  // on one file system.
  std::string temporary = target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return Failure("Cannot write", path, errno);
  // An existing file keeps its permissions.
  struct stat old{};
  if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);
  // The old file stays whole until the new one is complete on disk.
  if (!WriteAll(fd, contents) || fsync(fd) != 0) {
    const int error = errno;
    close(fd);
    unlink(temporary.c_str());
    return Failure("Cannot write", path, error);
  }
  if (close(fd) != 0 || rename(temporary.c_str(), target.c_str()) != 0) {
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
