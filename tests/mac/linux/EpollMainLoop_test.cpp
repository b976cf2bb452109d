#include "mac/linux/EpollMainLoop.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace penmac::linux_layer {
namespace {

TEST(MainLoop, ARepeatingTimerTicksUntilTheLoopEnds) {
  EpollMainLoop loop;
  ASSERT_EQ(loop.Error(), "");
  int ticks = 0;
  loop.ScheduleRepeatingTimer(0.01, [&] {
    if (++ticks == 3) loop.Quit(7);
  });
  EXPECT_EQ(loop.Run(), 7);
  EXPECT_EQ(ticks, 3);
}

TEST(MainLoop, AWakeFromAnotherThreadRunsTheHandlerOnTheLoopsThread) {
  EpollMainLoop loop;
  const auto mainThread = std::this_thread::get_id();
  bool onMain = false;
  loop.SetWakeHandler([&] {
    onMain = std::this_thread::get_id() == mainThread;
    loop.Quit(0);
  });
  std::thread other([&] { loop.Wake(); });
  EXPECT_EQ(loop.Run(), 0);
  other.join();
  EXPECT_TRUE(onMain);
}

TEST(MainLoop, EndsAfterTheTimeLimit) {
  EpollMainLoop loop;
  const auto start = std::chrono::steady_clock::now();
  loop.ExitAfter(0.05, 3);
  EXPECT_EQ(loop.Run(), 3);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(45));
}

TEST(MainLoop, ATerminationSignalEndsItCleanly) {
  EpollMainLoop loop;
  std::thread other([] { kill(getpid(), SIGTERM); });
  EXPECT_EQ(loop.Run(), 0);
  other.join();
}

TEST(MainLoop, MissedTicksAreNotMadeUpFor) {
  EpollMainLoop loop;
  int ticks = 0;
  loop.ScheduleRepeatingTimer(0.005, [&] {
    ++ticks;
    if (ticks == 1) std::this_thread::sleep_for(std::chrono::milliseconds(60));  // misses about ten
    if (ticks == 2) loop.Quit(0);
  });
  loop.Run();
  EXPECT_EQ(ticks, 2);
}

TEST(MainLoop, NotificationsWaitingWhenATickFallsDueAreHandledBeforeIt) {
  EpollMainLoop loop;
  std::vector<std::string> order;
  loop.SetWakeHandler([&] { order.push_back("notifications"); });
  loop.ScheduleRepeatingTimer(0.01, [&] {
    order.push_back("tick");
    loop.Quit(0);
  });
  // Held up: the tick falls due first, then a report comes in.
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  loop.Wake();
  loop.Run();
  EXPECT_EQ(order, (std::vector<std::string>{"notifications", "tick"}));
}

// Driven by another event loop: that loop waits on Fd() and calls
// DispatchReady whenever it is readable.
bool Readable(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, timeoutMs) == 1;
}

TEST(MainLoopDrivenFromOutside, ItsDescriptorIsReadableExactlyWhileSomethingWaits) {
  EpollMainLoop loop;
  int wakes = 0;
  loop.SetWakeHandler([&] { ++wakes; });
  EXPECT_FALSE(Readable(loop.Fd(), 0));
  EXPECT_TRUE(loop.DispatchReady());  // nothing there: returns at once
  EXPECT_EQ(wakes, 0);
  std::thread other([&] { loop.Wake(); });
  EXPECT_TRUE(Readable(loop.Fd(), 5000));
  other.join();
  EXPECT_TRUE(loop.DispatchReady());
  EXPECT_EQ(wakes, 1);
  EXPECT_FALSE(Readable(loop.Fd(), 0));  // taken: the outer loop goes back to sleep
}

TEST(MainLoopDrivenFromOutside, TimersTickAndASignalAsksToEnd) {
  EpollMainLoop loop;
  int ticks = 0;
  loop.ScheduleRepeatingTimer(0.01, [&] { ++ticks; });
  ASSERT_TRUE(Readable(loop.Fd(), 5000));
  EXPECT_TRUE(loop.DispatchReady());
  EXPECT_EQ(ticks, 1);
  kill(getpid(), SIGTERM);
  ASSERT_TRUE(Readable(loop.Fd(), 5000));
  EXPECT_FALSE(loop.DispatchReady());
  EXPECT_EQ(loop.ExitCode(), 0);
}

TEST(MainLoopDrivenFromOutside, ACallFromInsideAHandlerIsSafeAndTakesOnlyWhatIsNew) {
  EpollMainLoop loop;
  int wakes = 0, nestedTicks = 0;
  loop.SetWakeHandler([&] {
    if (++wakes > 1) return;
    // A modal window's loop inside the handler: a tick falls due meanwhile.
    loop.ScheduleRepeatingTimer(0.01, [&] { ++nestedTicks; });
    ASSERT_TRUE(Readable(loop.Fd(), 5000));
    EXPECT_TRUE(loop.DispatchReady());
  });
  loop.Wake();
  EXPECT_TRUE(loop.DispatchReady());
  EXPECT_EQ(wakes, 1);
  EXPECT_EQ(nestedTicks, 1);
  loop.Quit(4);
  EXPECT_FALSE(loop.DispatchReady());
  EXPECT_EQ(loop.ExitCode(), 4);
}

}  // namespace
}  // namespace penmac::linux_layer
