#include "mac/linux/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace penmac::linux_layer {

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);
}

std::string InstanceLock::DefaultPath(const std::string& fallbackFolder) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  // A folder of its own, which the user unit makes writable in a runtime
  // folder that its sandbox otherwise keeps read-only.
  if (runtime != nullptr && runtime[0] == '/') return std::string(runtime) + "/penmac/lock";
  if (fallbackFolder.empty()) return {};
  return fallbackFolder + "/.lock";
}

InstanceLock::Status InstanceLock::Acquire(const std::string& path) {
  if (path.empty()) {
    error_ = "no folder for the lock file (neither XDG_RUNTIME_DIR nor HOME is set)";
    return Status::Failed;
  }
  if (const size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0) {
    mkdir(path.substr(0, slash).c_str(), 0700);  // the fallback folder may be new
  }
  // Not following a link: the file is only ever ours, and a planted link
  // must not make us create or lock someone else's file.
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (fd < 0) {
    error_ = "cannot open the lock file " + path + ": " + std::strerror(errno);
    return Status::Failed;
  }
  struct stat st{};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    error_ = "the lock file " + path + " is not a regular file";
    return Status::Failed;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EWOULDBLOCK) {
      char buf[32] = {};
      const ssize_t n = pread(fd, buf, sizeof buf - 1, 0);
      holder_ = n > 0 ? std::strtol(buf, nullptr, 10) : 0;
      close(fd);
      error_ = "another penmac is already running";
      return Status::HeldByAnother;
    }
    close(fd);
    error_ = "cannot lock " + path + ": " + std::strerror(error);
    return Status::Failed;
  }
  // Ours now: the process id, for the message the next one prints.
  const std::string pid = std::to_string(getpid()) + "\n";
  if (ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t n = pwrite(fd, pid.data(), pid.size(), 0);
  }
  fd_ = fd;
  return Status::Acquired;
}

}  // namespace penmac::linux_layer
