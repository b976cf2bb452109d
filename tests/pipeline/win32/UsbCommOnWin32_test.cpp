// The device link on the real main-thread waits and the real HID layer.
#include <windows.h>

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "RemovalNotice.h"
#include "common/win32/Win32Clock.h"
#include "pipeline/UsbComm.h"
#include "pipeline/win32/HidController.h"
#include "pipeline/win32/Win32HidDevice.h"
#include "support/FakeClock.h"
#include "support/FakeHid.h"
#include "support/HandleCount.h"
#include "support/FakePadLink.h"

namespace pen::win32 {
namespace {

struct NoBeep : IBeeper {
  void Beep() override {}
};

TEST(UsbCommOnWin32, AQuitDuringTheMemoryWaitEndsItAtOnceAndStaysQueued) {
  test::FakeHidController hid;
  hid.AddInterfaceA();
  hid.AddInterfaceB();
  test::FakePadLink pad;
  Win32Clock clock;
  NoBeep beeper;
  TUsbComm link(hid, &pad, clock, beeper);
  ASSERT_TRUE(link.Connected());
  pad.detectFailures = -1;  // the memory never answers
  pad.calls.clear();

  PostQuitMessage(3);
  const DWORD start = GetTickCount();
  EXPECT_FALSE(link.ReadParameters());
  EXPECT_LT(GetTickCount() - start, 1500u);
  EXPECT_LE(pad.Count("Detect"), 2);

  MSG m;
  bool quit = false;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) quit = quit || (m.message == WM_QUIT && m.wParam == 3);
  EXPECT_TRUE(quit) << "the quit is left for the main loop";
}

// Two of Wine's own HID collections stand in for the tablet's interfaces:
// the device link asks for the tablet and is handed these.
class StandInTablet : public IHidController {
 public:
  StandInTablet(THidController& hid, THidController::DeviceInfo a, THidController::DeviceInfo b)
      : hid_(hid), a_(std::move(a)), b_(std::move(b)) {}
  IHidDevice* CheckOut(uint16_t, std::string_view part, uint16_t) override {
    const THidController::DeviceInfo& d = part == TUsbComm::kInterfaceAPath ? a_ : b_;
    return hid_.CheckOut(d.vendorId, d.path, d.productId);
  }
  void CheckIn(IHidDevice* device) override { hid_.CheckIn(device); }
  void SetChangeHandler(Event<> handler) override { hid_.SetChangeHandler(handler); }
  void SetRemovalHandler(Event<IHidDevice*> handler) override { hid_.SetRemovalHandler(handler); }
  void SetDirectDelivery(bool direct) override { hid_.SetDirectDelivery(direct); }

 private:
  THidController& hid_;
  THidController::DeviceInfo a_, b_;
};

std::vector<THidController::DeviceInfo> OpenableDevices(THidController& hid) {
  std::vector<THidController::DeviceInfo> out;
  for (const auto& info : hid.Devices()) {
    IHidDevice* d = hid.CheckOut(info.vendorId, info.path, info.productId);
    if (d && static_cast<TWin32HidDevice*>(d)->Open()) out.push_back(info);
    hid.CheckIn(d);
  }
  return out;
}

TEST(UsbCommOnWin32, RepeatedUnplugsOfTheInterfacesLeaveTheHandleCountFlat) {
  THidController hid;
  const auto devices = OpenableDevices(hid);
  if (devices.size() < 2) GTEST_SKIP() << "two HID devices that open are needed";
  StandInTablet tablet(hid, devices[0], devices[1]);
  test::FakeClock clock;  // the product string retries need no real time
  NoBeep beeper;
  TUsbComm link(tablet, nullptr, clock, beeper);
  ASSERT_TRUE(link.Connected());
  // Each notice makes the controller replace the device, as when the tablet
  // is pulled and plugged again: the old one leaves, a new one arrives.
  auto unplugAndPlug = [&] {
    RemovalNotice(devices[0].path).SendTo(hid.Window());
    RemovalNotice(devices[1].path).SendTo(hid.Window());
  };
  unplugAndPlug();
  ASSERT_TRUE(link.Connected());
  const unsigned before = test::HandleCount();
  ASSERT_GT(before, 0u);
  for (int i = 0; i < 20; ++i) unplugAndPlug();
  ASSERT_TRUE(link.Connected());
  EXPECT_LE(test::HandleCount(), before + 4) << "from " << before;
}

}  // namespace
}  // namespace pen::win32
