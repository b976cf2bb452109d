#pragma once
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "support/FakeClock.h"

namespace pen::test {

// The main thread's message queue on the fake clock. What a test posts (a
// window message for the host, a device removal or arrival, a display
// change) waits in the queue until the code under test runs messages: inside
// one of its waits, as a modal wait does on Windows, or when the test runs
// the loop itself. So a removal can arrive in the middle of a connect and a
// burst of requests in the middle of the show delay, one inside the other,
// the way the real message loop nests them.
class FakeMessageLoop : public FakeClock {
 public:
  using Message = std::function<void()>;

  int waits = 0;    // message-running waits so far
  int depth = 0;    // messages being handled right now, one inside the other
  int deepest = 0;  // the most that were ever nested

  void Post(Message m) { queue_.push_back(std::move(m)); }
  // Arrives during the `n`th message-running wait from now (1: the next one).
  void AtWait(int n, Message m) { scheduled_.emplace_back(waits + n, std::move(m)); }
  // What PostQuitMessage does: waits end at once from now on.
  void PostQuit() { quit_ = true; }
  bool Quitting() const override { return quit_; }
  size_t Pending() const { return queue_.size(); }

  // The program's own loop: runs messages until none is left (or a quit).
  void Run() { Dispatch(); }

  void ProcessMessagesFor(uint32_t ms) override {
    ++waits;
    for (auto it = scheduled_.begin(); it != scheduled_.end();) {
      if (it->first == waits) {
        queue_.push_back(std::move(it->second));
        it = scheduled_.erase(it);
      } else {
        ++it;
      }
    }
    if (quit_) {
      ++now;  // returns at once; only the call itself takes time
      return;
    }
    const uint32_t start = now;
    Dispatch();
    if (quit_) return;  // the wait ends where the quit was met
    if (onProcessMessages) onProcessMessages();
    // Handlers run inside the wait may have waited longer themselves.
    if (now - start < ms) now = start + ms;
    pumped += ms;
  }

 private:
  void Dispatch() {
    while (!queue_.empty() && !quit_) {
      Message m = std::move(queue_.front());
      queue_.pop_front();
      deepest = std::max(deepest, ++depth);
      m();
      --depth;
    }
  }

  std::deque<Message> queue_;
  std::vector<std::pair<int, Message>> scheduled_;
  bool quit_ = false;
};

}  // namespace pen::test
