#include "pipeline/UsbComm.h"

#include <gtest/gtest.h>

#include "UsbCommRig.h"

namespace pen {
namespace {

using test::MakeBlock;
using test::UsbCommRig;
using Bytes = std::vector<uint8_t>;

// ------------------------------------------------------------ connection

TEST(UsbCommConnection, ATabletAlreadyPluggedInIsOpenedInsideTheConstructor) {
  UsbCommRig rig;
  rig.AddTablet(0x2111, "R711 Pen Tablet");
  rig.pad.SetAll(MakeBlock(1450, 30, 2, 5, 1));
  TUsbComm& link = rig.Create();

  EXPECT_TRUE(link.Connected());
  EXPECT_TRUE(rig.a->Reading());
  EXPECT_TRUE(rig.b->Reading());
  EXPECT_TRUE(rig.hid.directDelivery);
  EXPECT_EQ(link.FirmwareVersion, 0x2111);
  EXPECT_EQ(link.FirmwareVersionText, "2111");
  EXPECT_EQ(link.ProductString, "R711 Pen Tablet");
  EXPECT_EQ(link.ModelCode, "R711");
  EXPECT_EQ(link.CapabilityText, "01");
  // The parameters were read from device memory on arrival.
  EXPECT_EQ(link.KeyUsage, 30);
  EXPECT_EQ(link.KeyModifiers, 2);
  EXPECT_EQ(link.Rotation, 1);
}

TEST(UsbCommConnection, SettingTheConnectHandlerReportsTheCurrentStateAtOnce) {
  UsbCommRig rig;
  rig.AddTablet();
  rig.Create();
  rig.Listen();
  EXPECT_EQ(rig.listener.connects, std::vector<bool>{true});

  UsbCommRig empty;
  empty.Create();
  empty.Listen();
  EXPECT_EQ(empty.listener.connects, std::vector<bool>{false});
  EXPECT_EQ(empty.link->ModelCode, "R700");
  EXPECT_EQ(empty.link->CapabilityText, "00");
}

TEST(UsbCommConnection, ConnectedOnlyOnceBothInterfacesAreOpen) {
  UsbCommRig rig;
  rig.a = &rig.hid.AddInterfaceA();
  TUsbComm& link = rig.Create();
  rig.Listen();
  EXPECT_TRUE(link.InterfaceAOpen());
  EXPECT_EQ(rig.listener.connects, std::vector<bool>{false});

  rig.b = &rig.hid.AddInterfaceB();
  rig.hid.Arrive();
  EXPECT_EQ(rig.listener.connects, (std::vector<bool>{false, true}));
  // Every later change event repeats it; the host ignores repeats.
  rig.hid.Add("\\\\?\\hid#vid_046d&pid_c077#1", 0x046D, 0xC077);
  rig.hid.Arrive();
  EXPECT_EQ(rig.listener.connects, (std::vector<bool>{false, true, true}));
}

TEST(UsbCommConnection, LosingOneInterfaceRaisesNothingAndLosingBothRaisesFalse) {
  UsbCommRig rig;
  rig.AddTablet(0x2111, "Tablet [R755]");
  TUsbComm& link = rig.Create();
  rig.Listen();
  rig.listener.connects.clear();

  rig.hid.Leave(*rig.b);
  EXPECT_TRUE(rig.listener.connects.empty());
  EXPECT_EQ(link.ModelCode, "R755");

  rig.hid.Leave(*rig.a);
  EXPECT_EQ(rig.listener.connects, std::vector<bool>{false});
  EXPECT_FALSE(link.InterfaceAOpen());
  EXPECT_EQ(link.ModelCode, "");
  EXPECT_EQ(link.CapabilityText, "00");
  // The version stays for display.
  EXPECT_EQ(link.FirmwareVersionText, "2111");
}

TEST(UsbCommConnection, ATabletPluggedInAgainIsOpenedAndDescribedAfresh) {
  UsbCommRig rig;
  rig.AddTablet(0x2000, "R711 Pen Tablet");
  TUsbComm& link = rig.Create();
  rig.Listen();
  rig.hid.Leave(*rig.a);
  rig.hid.Leave(*rig.b);

  rig.AddTablet(0x2201, "Tablet [R9270]");
  rig.hid.Arrive();
  EXPECT_TRUE(link.Connected());
  EXPECT_EQ(link.ModelCode, "R9270");
  EXPECT_EQ(link.FirmwareVersionText, "2201");
  EXPECT_EQ(link.CapabilityText, "01");
  EXPECT_EQ(rig.listener.connects, (std::vector<bool>{true, false, true}));
}

TEST(UsbCommConnection, EveryUnplugHandsBothInterfacesBackOnceSoPlugCyclesHoldNothing) {
  UsbCommRig rig;
  TUsbComm& link = rig.Create(false);
  rig.Listen();
  std::vector<test::FakeHidDevice*> gone;
  for (int cycle = 0; cycle < 20; ++cycle) {
    rig.AddTablet();
    rig.hid.Arrive();
    ASSERT_TRUE(link.Connected());
    rig.hid.Leave(*rig.b);
    rig.hid.Leave(*rig.a);
    gone.insert(gone.end(), {rig.a, rig.b});
  }
  EXPECT_EQ(rig.hid.HeldAfterRemoval(), 0u);
  for (test::FakeHidDevice* d : gone) {
    EXPECT_EQ(rig.hid.CheckIns(*d), 1u);
    EXPECT_FALSE(d->Reading());
  }
  // Nothing that left is handed back a second time at shutdown.
  link.CloseInterfaces();
  rig.link.reset();
  EXPECT_EQ(rig.hid.checkedIn.size(), gone.size());
  EXPECT_EQ(rig.listener.connects.size(), 41u);  // the first false, then one true and one false per cycle
}

TEST(UsbCommConnection, OnlyTheTabletsOwnInterfacesAreCheckedOut) {
  UsbCommRig rig;
  rig.hid.Add("\\\\?\\hid#vid_08f2&pid_6812&mi_02&col01#1", 0x08F2, 0x6812);  // other product
  rig.hid.Add("\\\\?\\hid#vid_08f3&pid_6811&mi_02&col01#1", 0x08F3, 0x6811);  // other vendor
  rig.hid.Add("\\\\?\\HID#VID_08F2&PID_6811&MI_02&COL01#1");                  // path compared exactly
  rig.hid.Add("\\\\?\\hid#vid_08f2&pid_6811&mi_02&col02#1");                  // other collection
  TUsbComm& link = rig.Create();
  EXPECT_FALSE(link.InterfaceAOpen());
  EXPECT_FALSE(link.InterfaceBOpen());
}

TEST(UsbCommConnection, FirmwareAbove2110GivesTheTrackerCapability) {
  for (auto [version, text, capability] : {std::tuple{0x2110, "2110", "00"}, std::tuple{0x2111, "2111", "01"},
                                           std::tuple{0x00AB, "00AB", "00"}}) {
    UsbCommRig rig;
    rig.AddTablet(static_cast<uint16_t>(version));
    TUsbComm& link = rig.Create();
    EXPECT_EQ(link.FirmwareVersionText, text);
    EXPECT_EQ(link.CapabilityText, capability) << text;
  }
}

TEST(UsbCommConnection, AShortProductStringIsReadAgainEvery200Ms) {
  UsbCommRig rig;
  rig.AddTablet();
  rig.a->productReads = {"", "R7", "R71", "R711 Pen"};
  TUsbComm& link = rig.Create(false);
  EXPECT_EQ(rig.a->stringReads, 4);
  EXPECT_EQ(rig.clock.slept, 3u * 200);
  EXPECT_EQ(link.ModelCode, "R711");
  EXPECT_EQ(link.ProductString, "R711 Pen");
}

TEST(UsbCommConnection, AProductStringThatNeverArrivesIsGivenUpAfterTwentyRetries) {
  UsbCommRig rig;
  rig.AddTablet();
  rig.a->productReads = {"R7"};
  TUsbComm& link = rig.Create(false);
  EXPECT_EQ(rig.a->stringReads, 21);
  EXPECT_EQ(rig.clock.slept, 20u * 200);
  EXPECT_EQ(link.ModelCode, "R700");
  EXPECT_EQ(link.ProductString, "R7");
}

TEST(UsbCommConnection, PaddingAfterTheProductStringIsNotPartOfIt) {
  UsbCommRig rig;
  rig.AddTablet();
  rig.a->productReads = {std::string("R755 Tablet\0\0\0", 14)};
  TUsbComm& link = rig.Create(false);
  EXPECT_EQ(link.ProductString, "R755 Tablet");
}

// ------------------------------------------------------------ reports

TEST(UsbCommReports, EachInterfacesReportsReachItsOwnCallbackWithoutTheReportId) {
  UsbCommRig rig;
  rig.AddTablet();
  rig.Create();
  rig.a->Deliver({0x09, 0xC0, 1, 2});  // before any callback: dropped quietly
  rig.Listen();
  rig.a->Deliver({0x09, 0xC1, 3, 4});
  rig.b->Deliver({0x07, 0x20, 5});
  rig.b->Deliver({0x07});
  EXPECT_EQ(rig.listener.reportsA, std::vector<Bytes>{(Bytes{0xC1, 3, 4})});
  EXPECT_EQ(rig.listener.reportsB, (std::vector<Bytes>{Bytes{0x20, 5}, Bytes{}}));
}

TEST(UsbCommReports, ClosingTheInterfacesStopsTheReadersAndChecksThemIn) {
  UsbCommRig rig;
  rig.AddTablet();
  TUsbComm& link = rig.Create();
  rig.Listen();
  rig.ForgetCalls();
  const uint32_t slept = rig.clock.slept;
  link.CloseInterfaces();
  EXPECT_FALSE(rig.a->Reading());
  EXPECT_FALSE(rig.b->Reading());
  EXPECT_EQ(rig.hid.checkedIn, (std::vector<IHidDevice*>{rig.a, rig.b}));
  EXPECT_EQ(rig.clock.slept - slept, 200u);
  // Nothing may be sent to a device that has been handed back.
  link.SetReportMode(3);
  EXPECT_TRUE(rig.a->features.empty());
}

}  // namespace
}  // namespace pen
