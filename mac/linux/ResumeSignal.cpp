#include "mac/linux/ResumeSignal.h"

#include <systemd/sd-bus.h>

#include <cstring>

namespace penmac::linux_layer {

LogindResumeSignal::LogindResumeSignal(const std::string& busAddress) {
  int rc = 0;
  if (busAddress.empty()) {
    rc = sd_bus_open_system(&bus_);
  } else {
    rc = sd_bus_new(&bus_);
    if (rc >= 0) rc = sd_bus_set_address(bus_, busAddress.c_str());
    if (rc >= 0) rc = sd_bus_set_bus_client(bus_, 1);
    if (rc >= 0) rc = sd_bus_start(bus_);
  }
  if (rc < 0) {
    error_ = std::string("no system bus: ") + std::strerror(-rc);
    return;
  }
  // Once, at the start, on the thread that starts the program: the bus
  // daemon's answer is waited for (within sd-bus's call time limit), so that
  // the match is in place when this returns.
  rc = sd_bus_match_signal(bus_, &slot_, "org.freedesktop.login1", "/org/freedesktop/login1",
                           "org.freedesktop.login1.Manager", "PrepareForSleep", &LogindResumeSignal::OnPrepareForSleep,
                           this);
  if (rc < 0) error_ = std::string("cannot listen for logind's sleep signal: ") + std::strerror(-rc);
}

LogindResumeSignal::~LogindResumeSignal() {
  sd_bus_slot_unref(slot_);
  sd_bus_flush_close_unref(bus_);
}

int LogindResumeSignal::Fd() const { return error_.empty() && bus_ != nullptr ? sd_bus_get_fd(bus_) : -1; }

int LogindResumeSignal::OnPrepareForSleep(sd_bus_message* message, void* self, sd_bus_error*) {
  int start = 1;
  if (sd_bus_message_read(message, "b", &start) >= 0 && start == 0) {
    static_cast<LogindResumeSignal*>(self)->resumed_ = true;
  }
  return 0;
}

bool LogindResumeSignal::Process() {
  if (bus_ == nullptr) return false;
  resumed_ = false;
  while (sd_bus_process(bus_, nullptr) > 0) {
  }
  return resumed_;
}

}  // namespace penmac::linux_layer
