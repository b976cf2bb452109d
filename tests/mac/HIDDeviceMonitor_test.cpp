// The HID monitor: matching, the mode switch, arrival, removal and reports,
// all posted from the monitor's own thread.
#include "mac/HIDDeviceMonitor.h"

#include <gtest/gtest.h>

#include <thread>

#include "MacFakes.h"

namespace penmac::test {
namespace {

// The monitor on a thread of its own, as the model runs it; notifications
// are collected on the test's thread by draining the center.
class Monitor : public ::testing::Test {
 protected:
  Monitor() : thread_([this] { monitor.start(); }) {}
  ~Monitor() override {
    hid.Stop();
    thread_.join();
  }
  std::vector<Notification> Drain() {
    std::vector<Notification> out;
    const auto token = center.AddObserverOnMainQueue(HIDDeviceConnected, [&out](const Notification& n) { out.push_back(n); });
    const auto t2 = center.AddObserverOnMainQueue(HIDDeviceDisconnected, [&out](const Notification& n) { out.push_back(n); });
    const auto t3 = center.AddObserverOnMainQueue(HIDDeviceDataReceived, [&out](const Notification& n) { out.push_back(n); });
    center.DrainMainQueue();
    for (auto t : {token, t2, t3}) center.RemoveObserver(t);
    return out;
  }
  void Add(const HidDeviceRef& d) {
    hid.OnManagerThread([this, d] { hid.client->rawDeviceAdded(0, &hid, d); });
  }
  void Remove(const HidDeviceRef& d) {
    hid.OnManagerThread([this, d] { hid.client->rawDeviceRemoved(0, &hid, d); });
  }

  FakeHidManager hid;
  CountingWaker waker;
  NotificationCenter center{waker};
  HIDMonitor monitor{{HIDMonitorData{0x08F2, 0x6811, std::nullopt, std::nullopt}}, 64, hid, center};

 private:
  std::thread thread_;
};

TEST_F(Monitor, MatchesTheTabletByVendorAndProductOnly) {
  hid.OnManagerThread([] {});
  ASSERT_EQ(hid.matching.size(), 1u);
  EXPECT_EQ(hid.matching[0].vendorId, 2290);
  EXPECT_EQ(hid.matching[0].productId, 26641);
  EXPECT_FALSE(hid.matching[0].usagePage);
  EXPECT_FALSE(hid.matching[0].usage);
  EXPECT_EQ(hid.opened, 1);
}

TEST_F(Monitor, AnArrivingTabletGetsTheModeReportBeforeItIsAnnounced) {
  auto tablet = FakeHidDevice::Tablet();
  Add(tablet);
  ASSERT_EQ(tablet->sent.size(), 1u);
  EXPECT_EQ(tablet->sent[0].type, HidReportType::Feature);
  EXPECT_EQ(tablet->sent[0].id, 8u);
  EXPECT_EQ(tablet->sent[0].bytes, (std::vector<uint8_t>{0x08, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(tablet->size, 64u);
  const auto n = Drain();
  ASSERT_EQ(n.size(), 1u);
  EXPECT_EQ(n[0].name, "HIDDeviceConnected");
  const HIDDevice& d = std::get<DeviceEntry>(n[0].object).device;
  EXPECT_EQ(d.name, "[R711]Pen Tablet");
  EXPECT_EQ(d.version, 0x2201);
  EXPECT_EQ(d.vendorId, 0x08F2);
  EXPECT_EQ(d.productId, 0x6811);
  EXPECT_EQ(d.reportSize, 15);
  EXPECT_EQ(d.id, "/dev/hidraw0");
  EXPECT_EQ(d.device, tablet);
}

TEST_F(Monitor, AfterSleepEachTabletStillThereGetsTheModeReportAgainAndIsNotAnnouncedAgain) {
  auto a = FakeHidDevice::Tablet();
  auto gone = FakeHidDevice::Tablet();
  auto b = FakeHidDevice::Tablet();
  Add(a);
  Add(gone);
  Add(b);
  Remove(gone);
  hid.OnManagerThread([this] { hid.client->systemResumed(); });
  const std::vector<uint8_t> mode{0x08, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  for (const auto& tablet : {a, b}) {
    ASSERT_EQ(tablet->sent.size(), 2u);
    EXPECT_EQ(tablet->sent[1].type, HidReportType::Feature);
    EXPECT_EQ(tablet->sent[1].id, 8u);
    EXPECT_EQ(tablet->sent[1].bytes, mode);
  }
  EXPECT_EQ(gone->sent.size(), 1u);
  EXPECT_EQ(Drain().size(), 4u);  // three arrivals, one removal: nothing for the wake-up
}

TEST_F(Monitor, EachReportIsACopyWithItsReportIdFirst) {
  auto tablet = FakeHidDevice::Tablet();
  Add(tablet);
  hid.OnManagerThread([&] {
    tablet->Send({0x07, 1, 2, 3});
    tablet->Send({0x07, 9});
  });
  const auto n = Drain();
  ASSERT_EQ(n.size(), 3u);
  const ReportBytes& first = std::get<DataEntry>(n[1].object).data;
  ASSERT_EQ(first.size(), 4u);
  EXPECT_EQ(first.bytes[0], 0x07);
  EXPECT_EQ(first.bytes[3], 3);  // not overwritten by the second report in the shared buffer
  EXPECT_EQ(std::get<DataEntry>(n[2].object).data.size(), 2u);
}

TEST_F(Monitor, TwoTabletsGetTheirOwnBuffersAndShareTheReportNotification) {
  auto a = FakeHidDevice::Tablet();
  auto b = FakeHidDevice::Tablet();
  Add(a);
  Add(b);
  EXPECT_NE(a->buffer, b->buffer);
  hid.OnManagerThread([&] {
    a->Send({0x07, 0xAA});
    b->Send({0x07, 0xBB});
  });
  const auto n = Drain();
  ASSERT_EQ(n.size(), 4u);
  EXPECT_EQ(n[0].name, "HIDDeviceConnected");
  EXPECT_EQ(n[1].name, "HIDDeviceConnected");
  EXPECT_EQ(std::get<DataEntry>(n[2].object).data.bytes[1], 0xAA);
  EXPECT_EQ(std::get<DataEntry>(n[3].object).data.bytes[1], 0xBB);
}

TEST_F(Monitor, ARemovalCarriesTheDevicesTextLocation) {
  auto tablet = FakeHidDevice::Tablet();
  Add(tablet);
  Remove(tablet);
  const auto n = Drain();
  ASSERT_EQ(n.size(), 2u);
  EXPECT_EQ(n[1].name, "HIDDeviceDisconnected");
  EXPECT_EQ(std::get<IdEntry>(n[1].object).id, "/dev/hidraw0");
}

TEST(HIDDevice, MissingPropertiesAndPropertiesOfAnotherTypeGiveTheDefaults) {
  auto d = std::make_shared<FakeHidDevice>();
  d->properties["LocationID"] = int64_t{0x14100000};  // a number, as usual: no id
  d->properties["VendorID"] = std::string("2290");
  d->properties["Product"] = int64_t{5};
  const HIDDevice device(d);
  EXPECT_EQ(device.id, "");
  EXPECT_EQ(device.vendorId, 0);
  EXPECT_EQ(device.productId, 0);
  EXPECT_EQ(device.reportSize, 0);
  EXPECT_EQ(device.name, "");
  EXPECT_EQ(device.version, 0);
}

TEST(HIDMonitorData, AUsageGivenMustBeOneOfTheTopLevelCollections) {
  const UsagePair collections[] = {{0xFF00, 1}, {0x0D, 2}};
  EXPECT_TRUE(Matches(HIDMonitorData{0x08F2, 0x6811, 0x0D, 2}, 0x08F2, 0x6811, collections));
  EXPECT_TRUE(Matches(HIDMonitorData{0x08F2, 0x6811, 0xFF00, std::nullopt}, 0x08F2, 0x6811, collections));
  EXPECT_FALSE(Matches(HIDMonitorData{0x08F2, 0x6811, 0x0D, 1}, 0x08F2, 0x6811, collections));
  EXPECT_FALSE(Matches(HIDMonitorData{0x08F2, 0x6811, std::nullopt, std::nullopt}, 0x08F2, 0x6812, collections));
}

}  // namespace
}  // namespace penmac::test
