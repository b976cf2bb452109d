#pragma once
#include <systemd/sd-bus.h>

#include <string>

namespace penmac::linux_layer {

// Tells a thread's epoll loop that the machine has woken from sleep.
class IResumeSignal {
 public:
  virtual ~IResumeSignal() = default;
  // Readable (EPOLLIN) when there is something to process; -1 when none.
  virtual int Fd() const = 0;
  // Handles what is waiting without blocking; true when a wake-up was among
  // it.
  virtual bool Process() = 0;
};

// logind's announcement over D-Bus: PrepareForSleep(false) on
// org.freedesktop.login1.Manager when the machine has resumed.
class LogindResumeSignal : public IResumeSignal {
 public:
  // The system bus; a test gives the address of a bus of its own.
  explicit LogindResumeSignal(const std::string& busAddress = {});
  ~LogindResumeSignal() override;
  LogindResumeSignal(const LogindResumeSignal&) = delete;
  LogindResumeSignal& operator=(const LogindResumeSignal&) = delete;

  // Empty when the signal is being listened for.
  const std::string& Error() const { return error_; }

  int Fd() const override;
  bool Process() override;

 private:
  static int OnPrepareForSleep(sd_bus_message* message, void* self, sd_bus_error* error);

  sd_bus* bus_ = nullptr;
  sd_bus_slot* slot_ = nullptr;
  bool resumed_ = false;
  std::string error_;
};

}  // namespace penmac::linux_layer
