#pragma once
#include <functional>
#include <string>
#include <vector>

#include "mac/MainRunLoop.h"
#include "mac/NotificationCenter.h"

struct epoll_event;

namespace penmac::linux_layer {

// The main thread's loop: one epoll set over an eventfd (notifications
// waiting), timerfds (the model's timer, the program's time limit) and a
// signalfd (SIGINT, SIGTERM, SIGHUP end the program). It sleeps in the kernel
// until one of them fires: nothing polls.
//
// Construct it on the main thread before any other thread starts: it blocks
// the three signals, and threads started later inherit that, so only the
// signalfd sees them.
class EpollMainLoop : public IMainRunLoop, public IMainQueueWaker {
 public:
  EpollMainLoop();
  ~EpollMainLoop() override;
  EpollMainLoop(const EpollMainLoop&) = delete;
  EpollMainLoop& operator=(const EpollMainLoop&) = delete;

  // Empty when the loop could be set up.
  const std::string& Error() const { return error_; }

  void ScheduleRepeatingTimer(double seconds, std::function<void()> tick) override;
  // Any thread.
  void Wake() override;

  // What runs on the main thread after Wake.
  void SetWakeHandler(std::function<void()> handler) { wakeHandler_ = std::move(handler); }
  // Calls `ready` on the main thread whenever `fd` is readable (level
  // triggered: `ready` must take what is waiting).
  void WatchFd(int fd, std::function<void()> ready);
  // Ends Run (with `code`) that long after Run starts.
  void ExitAfter(double seconds, int code);
  // Main thread: ends Run after the current handler.
  void Quit(int code);
  // Until Quit, the time limit or a signal (exit code 0).
  int Run();

  // For a program whose main thread another event loop runs (the desktop
  // application's): the epoll set is readable whenever something here is
  // ready, so that loop watches Fd() and calls DispatchReady, and still
  // nothing polls. DispatchReady handles what is ready now without waiting;
  // false once the loop has been told to end (Quit, the time limit, a
  // signal), with ExitCode() saying how. A call from inside a handler (a
  // nested event loop under a modal window) is safe: it handles only what
  // became ready since.
  int Fd() const { return epoll_; }
  bool DispatchReady();
  int ExitCode() const { return exitCode_; }

 private:
  struct Timer {
    int fd;
    bool repeating;
    std::function<void()> tick;
  };
  static constexpr int kBatch = 8;
  int AddTimer(double seconds, bool repeating, std::function<void()> tick);
  void Handle(const epoll_event* events, int n);

  int epoll_ = -1;
  int wakeFd_ = -1;
  int signalFd_ = -1;
  std::vector<Timer> timers_;
  std::vector<std::function<void()>> watches_;
  std::function<void()> wakeHandler_;
  std::string error_;
  bool quit_ = false;
  int exitCode_ = 0;
};

}  // namespace penmac::linux_layer
