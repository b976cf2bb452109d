// Notifications from the HID thread reach the main thread in order, never
// before the main thread asks for them.
#include "mac/NotificationCenter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string_view>
#include <thread>

#include "MacFakes.h"

namespace penmac::test {
namespace {

Notification Report(uint8_t first) {
  const uint8_t b[] = {first};
  Notification n{HIDDeviceDataReceived, DataEntry{}};
  std::get<DataEntry>(n.object).data.Assign(b, 1);
  return n;
}

TEST(NotificationCenter, DeliversOnlyWhenDrainedAndInPostingOrder) {
  CountingWaker waker;
  NotificationCenter center(waker);
  std::vector<std::string> seen;
  center.AddObserverOnMainQueue(HIDDeviceConnected, [&](const Notification& n) { seen.emplace_back(n.name); });
  center.AddObserverOnMainQueue(HIDDeviceDataReceived, [&](const Notification& n) {
    seen.push_back("data " + std::to_string(std::get<DataEntry>(n.object).data.bytes[0]));
  });
  center.Post(Notification{HIDDeviceConnected, DeviceEntry{}});
  center.Post(Report(1));
  center.Post(Report(2));
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(center.DrainMainQueue(), 3u);
  EXPECT_EQ(seen, (std::vector<std::string>{"HIDDeviceConnected", "data 1", "data 2"}));
}

TEST(NotificationCenter, ANotificationPostedBeforeTheObserverExistedStillReachesIt) {
  CountingWaker waker;
  NotificationCenter center(waker);
  center.Post(Notification{HIDDeviceConnected, DeviceEntry{}});
  int seen = 0;
  center.AddObserverOnMainQueue(HIDDeviceConnected, [&](const Notification&) { ++seen; });
  center.DrainMainQueue();
  EXPECT_EQ(seen, 1);
}

TEST(NotificationCenter, WakesTheMainThreadOncePerBatch) {
  CountingWaker waker;
  NotificationCenter center(waker);
  center.Post(Report(1));
  center.Post(Report(2));
  EXPECT_EQ(waker.wakes, 1);
  center.DrainMainQueue();
  center.Post(Report(3));
  EXPECT_EQ(waker.wakes, 2);
}

TEST(NotificationCenter, ARemovedObserverHearsNothingMore) {
  CountingWaker waker;
  NotificationCenter center(waker);
  int seen = 0;
  const auto token = center.AddObserverOnMainQueue(HIDDeviceDataReceived, [&](const Notification&) { ++seen; });
  center.RemoveObserver(token);
  center.Post(Report(1));
  center.DrainMainQueue();
  EXPECT_EQ(seen, 0);
}

TEST(NotificationCenter, AFullQueueHoldsThePosterUntilTheMainThreadCatchesUp) {
  CountingWaker waker;
  NotificationCenter center(waker);
  std::atomic<size_t> posted{0};
  std::thread poster([&] {
    for (size_t i = 0; i < NotificationCenter::kCapacity + 10; ++i) {
      center.Post(Report(static_cast<uint8_t>(i)));
      ++posted;
    }
    center.Post(Notification{HIDDeviceDisconnected, IdEntry{"gone"}});
    ++posted;
  });
  while (posted < NotificationCenter::kCapacity) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(posted.load(), NotificationCenter::kCapacity);  // waiting for room, nothing dropped

  size_t reports = 0;
  bool removal = false;
  center.AddObserverOnMainQueue(HIDDeviceDataReceived, [&](const Notification&) { ++reports; });
  center.AddObserverOnMainQueue(HIDDeviceDisconnected, [&](const Notification&) { removal = true; });
  while (!removal) center.DrainMainQueue();
  poster.join();
  EXPECT_EQ(reports, NotificationCenter::kCapacity + 10);
}

// A modal alert inside an observer runs a nested event loop, which asks for
// the queue again from inside the delivery.
TEST(NotificationCenter, AnObserverThatRunsANestedLoopDoesNotLetLaterNotificationsOvertake) {
  CountingWaker waker;
  NotificationCenter center(waker);
  std::vector<std::string_view> seen;
  size_t nested = 99;
  center.AddObserverOnMainQueue(HIDDeviceConnected, [&](const Notification&) {
    seen.push_back("model: connected");
    nested = center.DrainMainQueue();
  });
  center.AddObserverOnMainQueue(HIDDeviceConnected, [&](const Notification&) { seen.push_back("menu: connected"); });
  center.AddObserverOnMainQueue(HIDDeviceDisconnected, [&](const Notification&) { seen.push_back("menu: removed"); });
  center.Post(Notification{HIDDeviceConnected, DeviceEntry{}});
  center.Post(Notification{HIDDeviceDisconnected, IdEntry{"gone"}});
  EXPECT_EQ(center.DrainMainQueue(), 2u);
  EXPECT_EQ(nested, 0u);
  EXPECT_EQ(seen, (std::vector<std::string_view>{"model: connected", "menu: connected", "menu: removed"}));
  // And the queue works as before afterwards.
  center.Post(Notification{HIDDeviceDisconnected, IdEntry{"again"}});
  EXPECT_EQ(center.DrainMainQueue(), 1u);
}

TEST(NotificationCenter, ShutdownReleasesAWaitingPoster) {
  CountingWaker waker;
  NotificationCenter center(waker);
  std::thread poster([&] {
    for (size_t i = 0; i < NotificationCenter::kCapacity + 1; ++i) center.Post(Report(0));
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  center.Shutdown();
  poster.join();  // returns instead of waiting for ever
  SUCCEED();
}

}  // namespace
}  // namespace penmac::test
