#pragma once
#include <string>

struct sd_login_monitor;

namespace penmac::linux_layer {

// The logind session whose user the driver serves, and whether it is the
// active one on its seat. The session is the program's own, or, for a user
// service (which belongs to no session), the user's graphical session.
// Without logind (a container, a system without systemd) there is no
// session to follow and the driver counts as active.
class LogindSession {
 public:
  LogindSession();
  ~LogindSession();
  LogindSession(const LogindSession&) = delete;
  LogindSession& operator=(const LogindSession&) = delete;

  // Readable when logind's sessions changed; -1 without logind.
  int Fd() const;
  // After Fd was readable: looks again. True when Active changed.
  bool Refresh();
  bool Active() const { return active_; }
  // The session followed; empty when there is none.
  const std::string& Session() const { return session_; }

 private:
  void Look();

  sd_login_monitor* monitor_ = nullptr;
  std::string session_;
  bool active_ = true;
};

}  // namespace penmac::linux_layer
