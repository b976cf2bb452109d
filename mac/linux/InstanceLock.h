#pragma once
#include <string>

namespace penmac::linux_layer {

// One driver per user: two would both read the tablet and every key and
// click would arrive twice. The lock is an flock on a file in the user's
// runtime folder; the kernel lets go of it when the process ends, however it
// ends, so a crash leaves nothing stale behind.
class InstanceLock {
 public:
  enum class Status { Acquired, HeldByAnother, Failed };

  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // The lock file: $XDG_RUNTIME_DIR/penmac/lock, or `fallbackFolder`/.lock
  // when that variable is unset or not absolute (no login session).
  static std::string DefaultPath(const std::string& fallbackFolder);

  // Takes the lock without waiting. On HeldByAnother, HolderPid may tell
  // which process has it (0 when unknown).
  Status Acquire(const std::string& path);
  const std::string& Error() const { return error_; }
  long HolderPid() const { return holder_; }

 private:
  int fd_ = -1;
  long holder_ = 0;
  std::string error_;
};

}  // namespace penmac::linux_layer
