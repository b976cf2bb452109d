#include "mac/linux/EpollMainLoop.h"

#include <gtest/gtest.h>
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

}  // namespace
}  // namespace penmac::linux_layer
