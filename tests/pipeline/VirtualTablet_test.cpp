#include "pipeline/VirtualTablet.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/FakeClock.h"
#include "pipeline/DemoSession.h"

namespace pen {
namespace {

// The test thread plays the main thread: work invoked from other threads
// waits until the test serves it.
class FakeMainThread : public IMainThread {
 public:
  std::thread::id mainId = std::this_thread::get_id();
  int invokedFromOtherThreads = 0;

  void Invoke(Event<> work) override {
    if (std::this_thread::get_id() == mainId) {
      work();
      return;
    }
    std::unique_lock<std::mutex> lock(m_);
    pending_ = &work;
    done_ = false;
    ++invokedFromOtherThreads;
    cv_.notify_all();
    cv_.wait(lock, [this] { return done_; });
  }
  void WaitServing(const std::atomic<bool>& finished) override {
    ServeUntil([&] { return finished.load(); });
  }
  void ServeUntil(const std::function<bool()>& done) {
    std::unique_lock<std::mutex> lock(m_);
    while (!done()) {
      if (pending_) {
        Event<>* work = pending_;
        pending_ = nullptr;
        lock.unlock();
        (*work)();
        lock.lock();
        done_ = true;
        cv_.notify_all();
      } else {
        cv_.wait_for(lock, std::chrono::milliseconds(1));
      }
    }
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  Event<>* pending_ = nullptr;
  bool done_ = false;
};

// Stands in for the device link: counts events and keeps delivered reports.
struct Listener {
  explicit Listener(TVirtualTablet& t) : tablet(t) {}
  TVirtualTablet& tablet;
  std::vector<std::string> events;
  std::vector<std::vector<uint8_t>> reportsA, reportsB;
  std::vector<std::thread::id> deliveryThreads;
  std::atomic<int> countB{0};  // readable while the player delivers
  IHidDevice* a = nullptr;
  IHidDevice* b = nullptr;

  void OnChange() { events.push_back("change"); }
  void OnRemoval(IHidDevice* d) {
    events.push_back(d == a ? "removed A" : d == b ? "removed B" : "removed other");
    if (d == a) tablet.CheckIn(std::exchange(a, nullptr));
    if (d == b) tablet.CheckIn(std::exchange(b, nullptr));
  }
  void OnA(const uint8_t* d, size_t n) {
    reportsA.emplace_back(d, d + n);
    deliveryThreads.push_back(std::this_thread::get_id());
  }
  void OnB(const uint8_t* d, size_t n) {
    reportsB.emplace_back(d, d + n);
    deliveryThreads.push_back(std::this_thread::get_id());
    ++countB;
  }
  void Open() {
    a = tablet.CheckOut(0x08F2, "mi_02&col01", 0x6811);
    b = tablet.CheckOut(0x08F2, "mi_01&col01", 0x6811);
    if (a) a->SetDataHandler(IHidDevice::DataHandler::Bind<&Listener::OnA>(this));
    if (b) b->SetDataHandler(IHidDevice::DataHandler::Bind<&Listener::OnB>(this));
  }
  void Install() {
    tablet.SetRemovalHandler(Event<IHidDevice*>::Bind<&Listener::OnRemoval>(this));
    tablet.SetChangeHandler(Event<>::Bind<&Listener::OnChange>(this));
  }
};

struct VirtualTablet : ::testing::Test {
  test::FakeClock clock;
  FakeMainThread main;
  TVirtualTablet tablet{clock, main};
  Listener link{tablet};
};

TEST_F(VirtualTablet, ShowsBothInterfacesOfTheTabletOnceEach) {
  IHidDevice* a = tablet.CheckOut(0x08F2, "mi_02&col01", 0x6811);
  IHidDevice* b = tablet.CheckOut(0x08F2, "mi_01&col01", 0x6811);
  ASSERT_TRUE(a && b);
  EXPECT_NE(a->Path().find("mi_02&col01"), std::string::npos);
  EXPECT_NE(b->Path().find("mi_01&col01"), std::string::npos);
  EXPECT_EQ(a->VendorId(), 0x08F2);
  EXPECT_EQ(b->ProductId(), 0x6811);
  EXPECT_EQ(a->VersionNumber(), 0x2201);
  EXPECT_EQ(a->GetIndexedString(2), "[R711]Pen Tablet");
  EXPECT_EQ(a->GetIndexedString(1), "");
  // Already checked out, another product, another vendor, or a path part in
  // the wrong case: nothing.
  EXPECT_EQ(tablet.CheckOut(0x08F2, "mi_02&col01", 0x6811), nullptr);
  EXPECT_EQ(tablet.CheckOut(0x08F2, "col01", 0x6812), nullptr);
  EXPECT_EQ(tablet.CheckOut(0x845E, "col01", 0x6811), nullptr);
  tablet.CheckIn(a);
  EXPECT_EQ(tablet.CheckOut(0x08F2, "MI_02&COL01", 0x6811), nullptr);
  EXPECT_EQ(tablet.CheckOut(0x08F2, "mi_02&col01", 0x6811), a);
}

TEST_F(VirtualTablet, InstallingTheChangeHandlerRaisesItOnce) {
  link.Install();
  EXPECT_EQ(link.events, std::vector<std::string>{"change"});
}

TEST_F(VirtualTablet, UnplugRaisesRemovalForEachInterfaceThenChangeAndTheOldDevicesStayDead) {
  link.Install();
  link.Open();
  IHidDevice* oldA = link.a;
  link.events.clear();
  tablet.Unplug();
  EXPECT_EQ(link.events, (std::vector<std::string>{"removed A", "removed B", "change"}));
  EXPECT_FALSE(tablet.Plugged());
  EXPECT_EQ(tablet.CheckOut(0x08F2, "mi_02&col01", 0x6811), nullptr);
  uint8_t feature[8] = {8, 1};
  EXPECT_FALSE(oldA->SetFeature(feature, 8));
  EXPECT_EQ(oldA->GetIndexedString(2), "");
  tablet.Unplug();  // nothing left to remove
  EXPECT_EQ(link.events.size(), 3u);

  link.events.clear();
  tablet.Plug();
  EXPECT_EQ(link.events, std::vector<std::string>{"change"});
  link.Open();
  ASSERT_NE(link.a, nullptr);
  EXPECT_NE(link.a, oldA);
  EXPECT_TRUE(link.a->SetFeature(feature, 8));
}

TEST_F(VirtualTablet, KeepsEveryAcceptedFeatureReportWithItsTickAndLogsItToAFile) {
  std::string path = ::testing::TempDir() + "pen_feature_log.txt";
  std::remove(path.c_str());
  ASSERT_TRUE(tablet.SetFeatureLog(path));
  link.Open();
  uint8_t mode[8] = {8, 3, 0, 0xFF, 0xF0, 0, 0xFF, 0xF0};
  uint8_t flags[8] = {8, 6, 1, 3, 0, 0, 0, 0};
  EXPECT_TRUE(link.a->SetFeature(mode, 8));
  clock.Advance(300);
  EXPECT_TRUE(link.a->SetFeature(flags, 8));
  // Only interface A takes feature reports, and only of 8 bytes.
  EXPECT_FALSE(link.b->SetFeature(mode, 8));
  EXPECT_FALSE(link.a->SetFeature(mode, 7));
  EXPECT_FALSE(link.a->SetFeature(nullptr, 8));

  auto got = tablet.FeatureReports();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].tick, 100000u);
  EXPECT_EQ(got[0].bytes, std::vector<uint8_t>(mode, mode + 8));
  EXPECT_EQ(got[1].tick, 100300u);

  std::ifstream in(path);
  std::string l1, l2, l3;
  std::getline(in, l1);
  std::getline(in, l2);
  EXPECT_EQ(l1, "100000 08 03 00 FF F0 00 FF F0");
  EXPECT_EQ(l2, "100300 08 06 01 03 00 00 00 00");
  EXPECT_FALSE(std::getline(in, l3));

  // A second log appends; a path that cannot be opened says so.
  TVirtualTablet other(clock, main);
  ASSERT_TRUE(other.SetFeatureLog(path));
  IHidDevice* a2 = other.CheckOut(0x08F2, "mi_02&col01", 0x6811);
  a2->SetFeature(flags, 8);
  other.SetFeatureLog(::testing::TempDir());  // closes the file
  std::ifstream again(path);
  int lines = 0;
  for (std::string l; std::getline(again, l);) ++lines;
  EXPECT_EQ(lines, 3);
  EXPECT_FALSE(other.SetFeatureLog(::testing::TempDir() + "no/such/dir/log.txt"));
  std::remove(path.c_str());
}

TEST_F(VirtualTablet, SteppedPlaybackDeliversReportsWithoutTheirIdToTheRightInterface) {
  TTabletRecording rec;
  uint8_t b1[] = {7, 0x0F, 0xFF, 0, 1};
  uint8_t a1[] = {8, 0x80, 0xFF};
  uint8_t idOnly[] = {7};
  rec.AddReport(5, TabletInterface::B, b1, sizeof b1);
  rec.AddReport(6, TabletInterface::A, a1, sizeof a1);
  rec.AddReport(7, TabletInterface::B, idOnly, 1);
  tablet.Load(rec);
  link.Install();
  link.Open();
  ASSERT_TRUE(tablet.HasNextStep());
  EXPECT_EQ(tablet.NextStepDelay(), 5u);
  while (tablet.RunNextStep()) {
  }
  ASSERT_EQ(link.reportsB.size(), 2u);
  EXPECT_EQ(link.reportsB[0], (std::vector<uint8_t>{0x0F, 0xFF, 0, 1}));
  EXPECT_TRUE(link.reportsB[1].empty());
  ASSERT_EQ(link.reportsA.size(), 1u);
  EXPECT_EQ(link.reportsA[0], (std::vector<uint8_t>{0x80, 0xFF}));
  EXPECT_FALSE(tablet.HasNextStep());
}

TEST_F(VirtualTablet, ReportsOfAnUncheckedOrCheckedInInterfaceGoNowhere) {
  TTabletRecording rec = MakeDemoSession();
  tablet.Load(rec);
  link.Open();
  tablet.CheckIn(link.b);
  for (int i = 0; i < 30; ++i) tablet.RunNextStep();
  EXPECT_TRUE(link.reportsB.empty());
}

TEST_F(VirtualTablet, AScriptedUnplugAndPlugReachTheDeviceLinkInOrder) {
  std::string error;
  TTabletRecording rec;
  ASSERT_TRUE(rec.Parse("device version 0x2110 product \"K24 Pen\"\nstart unplugged\n"
                        "+10 plug\n+5 B 07 00 10 00 20 07 00 00 40\n+100 unplug\n+100 plug\n",
                        error))
      << error;
  link.Install();
  tablet.Load(rec);
  EXPECT_FALSE(tablet.Plugged());
  link.events.clear();
  tablet.RunNextStep();
  EXPECT_EQ(link.events, std::vector<std::string>{"change"});
  link.Open();
  ASSERT_TRUE(link.a);
  EXPECT_EQ(link.a->VersionNumber(), 0x2110);
  EXPECT_EQ(link.a->GetIndexedString(2), "K24 Pen");
  tablet.RunNextStep();
  EXPECT_EQ(link.reportsB.size(), 1u);
  tablet.RunNextStep();
  EXPECT_EQ(link.events, (std::vector<std::string>{"change", "removed A", "removed B", "change"}));
  tablet.RunNextStep();
  EXPECT_TRUE(tablet.Plugged());
  EXPECT_EQ(link.events.back(), "change");
}

TEST_F(VirtualTablet, RealTimePlaybackHandsReportsToTheMainThreadUntilDirectDeliveryIsOn) {
  TTabletRecording rec;
  uint8_t r[] = {7, 1, 2};
  rec.AddReport(1, TabletInterface::B, r, sizeof r);
  rec.AddReport(1, TabletInterface::B, r, sizeof r);
  rec.AddUnplug(1);
  rec.AddPlug(1);
  tablet.Load(rec);
  link.Install();
  link.Open();
  tablet.StartPlayback();
  main.ServeUntil([&] { return link.countB.load() == 2; });
  tablet.SetDirectDelivery(true);
  main.ServeUntil([&] { return tablet.PlaybackFinished(); });
  tablet.StopPlayback();
  ASSERT_EQ(link.deliveryThreads.size(), 2u);
  EXPECT_EQ(link.deliveryThreads[0], main.mainId);
  // Plug and unplug always run on the main thread.
  EXPECT_EQ(link.events, (std::vector<std::string>{"change", "removed A", "removed B", "change", "change"}));
  EXPECT_EQ(main.invokedFromOtherThreads, 4);
}

TEST_F(VirtualTablet, DirectDeliveryRunsTheHandlerOnThePlayerThread) {
  TTabletRecording rec;
  uint8_t r[] = {7, 1, 2};
  for (int i = 0; i < 20; ++i) rec.AddReport(0, TabletInterface::B, r, sizeof r);
  tablet.Load(rec);
  link.Open();
  tablet.SetDirectDelivery(true);
  EXPECT_TRUE(tablet.DirectDelivery());
  tablet.StartPlayback();
  main.ServeUntil([&] { return tablet.PlaybackFinished(); });
  tablet.StopPlayback();
  ASSERT_EQ(link.reportsB.size(), 20u);
  for (auto id : link.deliveryThreads) EXPECT_NE(id, main.mainId);
  EXPECT_EQ(main.invokedFromOtherThreads, 0);
}

TEST_F(VirtualTablet, StoppingEndsAPlaybackThatIsWaitingOrBlockedOnTheMainThread) {
  TTabletRecording rec;
  uint8_t r[] = {7, 1, 2};
  rec.AddReport(0, TabletInterface::B, r, sizeof r);  // blocks until served
  rec.AddWait(3600000);
  tablet.Load(rec);
  link.Open();
  tablet.StartPlayback();
  // Give the player time to block in the hand-over; the stop must serve it
  // without running the report.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  tablet.StopPlayback();
  EXPECT_TRUE(tablet.PlaybackFinished());
  EXPECT_TRUE(link.reportsB.empty());

  // And one that is in its long pause.
  tablet.Load(rec);
  tablet.SetDirectDelivery(true);
  tablet.StartPlayback();
  main.ServeUntil([&] { return link.countB.load() == 1; });
  tablet.StopPlayback();
  EXPECT_TRUE(tablet.PlaybackFinished());
}

TEST_F(VirtualTablet, LoadingAnotherIdentityReplugsTheTablet) {
  link.Install();
  link.Open();
  link.events.clear();
  TTabletRecording rec;
  rec.identity = {0x1803, "R9270 Pen"};
  tablet.Load(rec);
  EXPECT_EQ(link.events, (std::vector<std::string>{"removed A", "removed B", "change", "change"}));
  link.Open();
  ASSERT_TRUE(link.a);
  EXPECT_EQ(link.a->VersionNumber(), 0x1803);
  link.events.clear();
  tablet.Load(rec);  // same identity: nothing happens
  EXPECT_TRUE(link.events.empty());
}

}  // namespace
}  // namespace pen
