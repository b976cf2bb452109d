#include "mac/linux/EpollMainLoop.h"

#include <signal.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace penmac::linux_layer {

namespace {

// epoll tags: the wake eventfd, the signalfd, then timer i as kTimerTag + i.
constexpr uint64_t kWakeTag = 1;
constexpr uint64_t kSignalTag = 2;
constexpr uint64_t kTimerTag = 16;
constexpr uint64_t kWatchTag = uint64_t{1} << 32;

sigset_t EndingSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  return set;
}

timespec ToTimespec(double seconds) {
  timespec ts{};
  const double whole = std::floor(seconds);
  ts.tv_sec = static_cast<time_t>(whole);
  ts.tv_nsec = static_cast<long>((seconds - whole) * 1e9);
  if (ts.tv_sec == 0 && ts.tv_nsec == 0) ts.tv_nsec = 1;  // zero would disarm the timer
  return ts;
}

bool Watch(int epoll, int fd, uint64_t tag) {
  epoll_event ev{};
  ev.events = EPOLLIN;
  ev.data.u64 = tag;
  return epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &ev) == 0;
}

}  // namespace

EpollMainLoop::EpollMainLoop() {
  const sigset_t signals = EndingSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  epoll_ = epoll_create1(EPOLL_CLOEXEC);
  wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  signalFd_ = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  if (epoll_ < 0 || wakeFd_ < 0 || signalFd_ < 0 || !Watch(epoll_, wakeFd_, kWakeTag) ||
      !Watch(epoll_, signalFd_, kSignalTag)) {
    error_ = std::string("cannot set up the main loop: ") + std::strerror(errno);
  }
}

EpollMainLoop::~EpollMainLoop() {
  for (const Timer& t : timers_) close(t.fd);
  for (int fd : {signalFd_, wakeFd_, epoll_}) {
    if (fd >= 0) close(fd);
  }
}

int EpollMainLoop::AddTimer(double seconds, bool repeating, std::function<void()> tick) {
  const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
  if (fd < 0) {
    error_ = std::string("cannot create a timer: ") + std::strerror(errno);
    return -1;
  }
  itimerspec due{};
  due.it_value = ToTimespec(seconds);
  if (repeating) due.it_interval = due.it_value;
  timerfd_settime(fd, 0, &due, nullptr);
  Watch(epoll_, fd, kTimerTag + timers_.size());
  timers_.push_back(Timer{fd, repeating, std::move(tick)});
  return fd;
}

void EpollMainLoop::ScheduleRepeatingTimer(double seconds, std::function<void()> tick) {
  AddTimer(seconds, true, std::move(tick));
}

void EpollMainLoop::ExitAfter(double seconds, int code) {
  AddTimer(seconds, false, [this, code] { Quit(code); });
}

void EpollMainLoop::WatchFd(int fd, std::function<void()> ready) {
  if (fd < 0) return;
  if (!Watch(epoll_, fd, kWatchTag + watches_.size())) {
    error_ = std::string("cannot watch a descriptor: ") + std::strerror(errno);
    return;
  }
  watches_.push_back(std::move(ready));
}

void EpollMainLoop::Wake() {
  const uint64_t one = 1;
  // A full counter already means "wake up"; nothing is lost if this fails.
  [[maybe_unused]] const ssize_t n = write(wakeFd_, &one, sizeof one);
}

void EpollMainLoop::Quit(int code) {
  quit_ = true;
  exitCode_ = code;
}

int EpollMainLoop::Run() {
  quit_ = false;
  epoll_event events[kBatch];
  while (!quit_) {
    const int n = epoll_wait(epoll_, events, kBatch, -1);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = std::string("main loop: ") + std::strerror(errno);
      return 1;
    }
    Handle(events, n);
  }
  return exitCode_;
}

bool EpollMainLoop::DispatchReady() {
  epoll_event events[kBatch];
  const int n = epoll_wait(epoll_, events, kBatch, 0);
  if (n < 0 && errno != EINTR) {
    error_ = std::string("main loop: ") + std::strerror(errno);
    Quit(1);
  }
  if (n > 0) Handle(events, n);
  return !quit_;
}

void EpollMainLoop::Handle(const epoll_event* events, int n) {
  // Notifications first: a report that came in before a tick falls due
  // belongs to the time before that tick, also when the thread was held up
  // and both are ready at once. The timer would otherwise find no reports
  // and let the pen leave in the middle of a stroke.
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < n && !quit_; ++i) {
      const uint64_t tag = events[i].data.u64;
      if ((tag == kWakeTag) != (pass == 0)) continue;
      uint64_t count = 0;
      if (tag == kWakeTag) {
        [[maybe_unused]] const ssize_t r = read(wakeFd_, &count, sizeof count);
        if (wakeHandler_) wakeHandler_();
      } else if (tag == kSignalTag) {
        signalfd_siginfo info{};
        [[maybe_unused]] const ssize_t r = read(signalFd_, &info, sizeof info);
        Quit(0);
      } else if (tag >= kTimerTag && tag - kTimerTag < timers_.size()) {
        Timer& t = timers_[tag - kTimerTag];
        // Missed expirations are not made up for: one tick, however many.
        if (read(t.fd, &count, sizeof count) == sizeof count && count > 0) t.tick();
      } else if (tag >= kWatchTag && tag - kWatchTag < watches_.size()) {
        watches_[tag - kWatchTag]();
      }
    }
  }
}

}  // namespace penmac::linux_layer
