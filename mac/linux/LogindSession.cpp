#include "mac/linux/LogindSession.h"

#include <systemd/sd-daemon.h>
#include <systemd/sd-login.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace penmac::linux_layer {

LogindSession::LogindSession() {
  if (sd_booted() > 0 && sd_login_monitor_new(nullptr, &monitor_) < 0) monitor_ = nullptr;
  Look();
}

LogindSession::~LogindSession() {
  if (monitor_ != nullptr) sd_login_monitor_unref(monitor_);
}

int LogindSession::Fd() const { return monitor_ != nullptr ? sd_login_monitor_get_fd(monitor_) : -1; }

void LogindSession::Look() {
  char* session = nullptr;
  // A user service has no session of its own; the user's display session
  // is the one its input belongs to. Looked up anew each time: the user may
  // have logged out and in again.
  if (sd_pid_get_session(0, &session) < 0 && sd_uid_get_display(getuid(), &session) < 0) session = nullptr;
  if (session == nullptr) {
    session_.clear();
    // With logind but no session to name: whether any session of the user
    // is in the foreground. Without logind nothing tells, and the driver
    // must work.
    active_ = true;
    char* state = nullptr;
    if (monitor_ != nullptr && sd_uid_get_state(getuid(), &state) >= 0) {
      active_ = std::string_view(state) == "active";
      std::free(state);
    }
    return;
  }
  session_ = session;
  std::free(session);
  active_ = sd_session_is_active(session_.c_str()) > 0;
}

bool LogindSession::Refresh() {
  if (monitor_ != nullptr) sd_login_monitor_flush(monitor_);
  const bool was = active_;
  Look();
  return active_ != was;
}

}  // namespace penmac::linux_layer
