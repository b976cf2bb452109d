#include "pipeline/win32/HidController.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "pipeline/win32/Win32HidDevice.h"
#include "RemovalNotice.h"

namespace pen::win32 {
namespace {

struct Counter {
  int changes = 0;
  int removals = 0;
  void OnChange() { ++changes; }
  void OnRemoval(IHidDevice*) { ++removals; }
};

TEST(HidController, FindsNoTabletAmongTheSystemsHidDevices) {
  THidController hid;
  for (const auto& d : hid.Devices()) {
    EXPECT_FALSE(d.path.empty());
    EXPECT_FALSE(d.vendorId == 0x08F2 && d.productId == 0x6811) << d.path;
  }
  EXPECT_EQ(hid.CheckOut(0x08F2, "mi_02&col01", 0x6811), nullptr);
  EXPECT_EQ(hid.CheckOut(0x08F2, "mi_01&col01", 0x6811), nullptr);
  // Any path part matches only with the right IDs.
  EXPECT_EQ(hid.CheckOut(0x08F2, "", 0x6811), nullptr);
}

TEST(HidController, OwnsAHiddenMessageOnlyWindowRegisteredForHidArrival) {
  THidController hid;
  HWND w = hid.Window();
  ASSERT_TRUE(IsWindow(w));
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_NE(GetAncestor(w, GA_PARENT), GetDesktopWindow());  // message-only
  EXPECT_EQ(GetWindowThreadProcessId(w, nullptr), GetCurrentThreadId());
  EXPECT_TRUE(hid.NotificationsRegistered());
}

TEST(HidController, ADeviceChangeMessageReenumeratesAndRaisesTheChangeEvent) {
  THidController hid;
  Counter c;
  hid.SetRemovalHandler(Event<IHidDevice*>::Bind<&Counter::OnRemoval>(&c));
  hid.SetChangeHandler(Event<>::Bind<&Counter::OnChange>(&c));
  EXPECT_EQ(c.changes, 1);  // once when installed
  size_t before = hid.Devices().size();
  SendMessageW(hid.Window(), WM_DEVICECHANGE, 0x0007 /* DBT_DEVNODES_CHANGED */, 0);
  EXPECT_EQ(c.changes, 2);
  EXPECT_EQ(c.removals, 0);  // nothing left
  EXPECT_EQ(hid.Devices().size(), before);
  // Other device-change notices (a configuration query) do not rescan.
  SendMessageW(hid.Window(), WM_DEVICECHANGE, 0x0017 /* DBT_CONFIGCHANGECANCELED */, 0);
  EXPECT_EQ(c.changes, 2);
}

TEST(HidController, ADeviceReportedRemovedButBackAlreadyIsReplacedByANewOne) {
  THidController hid;
  auto devices = hid.Devices();
  if (devices.empty()) GTEST_SKIP() << "no HID device in this system";
  const auto& info = devices.front();
  IHidDevice* old = hid.CheckOut(info.vendorId, info.path, info.productId);
  ASSERT_NE(old, nullptr);
  struct Watch {
    IHidDevice* removed = nullptr;
    int changes = 0;
    void OnRemoval(IHidDevice* d) { removed = d; }
    void OnChange() { ++changes; }
  } watch;
  hid.SetRemovalHandler(Event<IHidDevice*>::Bind<&Watch::OnRemoval>(&watch));
  hid.SetChangeHandler(Event<>::Bind<&Watch::OnChange>(&watch));

  RemovalNotice(info.path, true).SendTo(hid.Window());  // the notice's case may differ

  EXPECT_EQ(watch.removed, old);
  EXPECT_EQ(watch.changes, 2);
  IHidDevice* fresh = hid.CheckOut(info.vendorId, info.path, info.productId);
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(fresh, old);
  hid.CheckIn(old);  // a device that left is freed at check-in
  hid.CheckIn(fresh);
}

TEST(HidController, ACheckedOutDeviceIsHandedOutOnceAndComesBackAtCheckIn) {
  THidController hid;
  auto devices = hid.Devices();
  if (devices.empty()) GTEST_SKIP() << "no HID device in this system";
  const auto& info = devices.front();
  IHidDevice* d = hid.CheckOut(info.vendorId, info.path, info.productId);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Path(), info.path);
  EXPECT_EQ(d->VersionNumber(), info.version);
  // Case matters in the path part.
  std::string upper = info.path;
  for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
  if (upper != info.path) {
    EXPECT_EQ(hid.CheckOut(info.vendorId, upper, info.productId), nullptr);
  }
  EXPECT_EQ(hid.CheckOut(info.vendorId, info.path, info.productId), nullptr);
  hid.CheckIn(d);
  EXPECT_EQ(hid.CheckOut(info.vendorId, info.path, info.productId), d);
  hid.CheckIn(d);
  hid.CheckIn(d);  // twice: harmless
  hid.CheckIn(nullptr);
}

struct Sink {
  void OnData(const uint8_t*, size_t) {}
};

TEST(HidController, AReadThreadStartsWithAHandlerAndStopsCleanlyWhenItIsCleared) {
  THidController hid;
  Sink sink;
  int started = 0;
  for (const auto& info : hid.Devices()) {
    IHidDevice* d = hid.CheckOut(info.vendorId, info.path, info.productId);
    ASSERT_NE(d, nullptr);
    auto* w = static_cast<TWin32HidDevice*>(d);
    if (!w->Open()) {
      hid.CheckIn(d);
      continue;
    }
    EXPECT_GT(w->InputReportLength(), 0u) << info.path;
    d->GetIndexedString(2);  // may be empty; must not fail
    d->SetDataHandler(IHidDevice::DataHandler::Bind<&Sink::OnData>(&sink));
    EXPECT_TRUE(w->ReadThreadRunning());
    d->SetDataHandler({});
    EXPECT_FALSE(w->ReadThreadRunning());
    // Started again, then stopped by check-in.
    d->SetDataHandler(IHidDevice::DataHandler::Bind<&Sink::OnData>(&sink));
    hid.CheckIn(d);
    EXPECT_FALSE(w->ReadThreadRunning());
    ++started;
  }
  if (started == 0) GTEST_SKIP() << "no HID device could be opened for reading";
}

TEST(HidController, DirectDeliveryIsSwitchedForTheProcessAndEndsWithTheController) {
  {
    THidController hid;
    EXPECT_FALSE(hid.DirectDelivery());
    hid.SetDirectDelivery(true);
    EXPECT_TRUE(hid.DirectDelivery());
  }
  THidController next;
  EXPECT_FALSE(next.DirectDelivery());
}

}  // namespace
}  // namespace pen::win32
