#include <gtest/gtest.h>

#include "UsbCommRig.h"
#include "pipeline/UsbComm.h"

namespace pen {
namespace {

using test::MakeBlock;
using test::UsbCommRig;
using Bytes = std::vector<uint8_t>;

struct FeatureReports : ::testing::Test {
  UsbCommRig rig;
  TUsbComm* link = nullptr;
  void SetUp() override {
    rig.AddTablet(0x1802);
    link = &rig.Create(false);
    rig.ForgetCalls();
  }
};

TEST_F(FeatureReports, TheModeReportPacksTheScreenAreaIntoTwelveBitFields) {
  link->SetArea(AreaRecord{/*Top*/ 0x456, /*Left*/ 0x123, /*Width*/ 0xABC, /*Height*/ 0x789});
  link->SetReportMode(3);
  ASSERT_EQ(rig.Sent().size(), 2u);
  EXPECT_EQ(rig.Sent()[0], (Bytes{8, 1, 0x23, 0xBC, 0xA1, 0x56, 0x89, 0x74}));  // re-sent with the last mode
  EXPECT_EQ(rig.Sent()[1], (Bytes{8, 3, 0x23, 0xBC, 0xA1, 0x56, 0x89, 0x74}));
  EXPECT_EQ(link->ReportMode, 3);
  EXPECT_EQ(link->Area(), (AreaRecord{0x456, 0x123, 0xABC, 0x789}));
}

TEST_F(FeatureReports, TheFlagsReportCarriesInkLeftHandAndTheThirdFlag) {
  link->SetLeftHand(true);
  link->SetInkFlag(true);
  link->SetLeftHand(false);
  EXPECT_EQ(rig.Sent(), (std::vector<Bytes>{Bytes{8, 6, 0, 3, 0, 0, 0, 0}, Bytes{8, 6, 1, 3, 0, 0, 0, 0},
                                            Bytes{8, 6, 1, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(link->LeftHandValue(), 0);
}

TEST_F(FeatureReports, Firmware1802KeepsTheInkFlagAsAsked) {
  link->SetInkFlag(false);
  EXPECT_EQ(link->InkFlag(), 0);
  EXPECT_EQ(rig.Sent().back()[2], 0);
}

TEST(FeatureReportsFirmware, Firmware1803ForcesTheInkFlagOn) {
  UsbCommRig rig;
  rig.AddTablet(0x1803);
  TUsbComm& link = rig.Create(false);
  link.SetInkFlag(false);
  EXPECT_EQ(link.InkFlag(), 1);
  EXPECT_EQ(rig.Sent().back(), (Bytes{8, 6, 1, 0, 0, 0, 0, 0}));
}

TEST_F(FeatureReports, TheParametersReportCarriesKeyModifiersAndPressureHighByteFirst) {
  link->KeyUsage = 0x1D;
  link->KeyModifiers = 5;
  link->SetPressure(-2);
  link->SendParameters();
  EXPECT_EQ(rig.Sent().back(), (Bytes{8, 4, 0x1D, 5, 0xFF, 0xFE, 0, 0}));
}

TEST_F(FeatureReports, TwoReportsRequestedBackToBackReachTheTabletAtLeast300MsApart) {
  link->SendFlags();
  link->SendParameters();
  link->SetReportMode(1);
  ASSERT_EQ(rig.a->features.size(), 3u);
  EXPECT_GE(rig.a->features[1].tick - rig.a->features[0].tick, 300u);
  EXPECT_GE(rig.a->features[2].tick - rig.a->features[1].tick, 300u);
  EXPECT_EQ(rig.clock.slept % 100, 0u);  // sleeps in 100 ms steps
}

TEST_F(FeatureReports, AReportLongAfterTheLastOneIsSentWithoutWaiting) {
  link->SendFlags();
  rig.clock.Advance(5000);
  const uint32_t slept = rig.clock.slept;
  link->SendFlags();
  EXPECT_EQ(rig.clock.slept, slept);
}

TEST_F(FeatureReports, WithoutInterfaceAReportsAreDroppedSilentlyAfterThePacing) {
  rig.hid.Leave(*rig.a);
  rig.a->features.clear();
  link->SetReportMode(3);
  link->SendFlags();
  link->SendParameters();
  EXPECT_TRUE(rig.a->features.empty());
  EXPECT_EQ(rig.beeper.beeps, 0);
  EXPECT_EQ(link->ReportMode, 3);  // remembered for the next connection
  EXPECT_GE(rig.clock.slept, 600u);
}

TEST_F(FeatureReports, ARejectedModeReportIsTriedOnceMoreAfterASecondOfMessages) {
  rig.a->rejectFeatures = 1;
  link->SetReportMode(3);
  ASSERT_EQ(rig.a->features.size(), 2u);
  EXPECT_GE(rig.a->features[1].tick - rig.a->features[0].tick, 1000u);
  EXPECT_EQ(rig.clock.pumped, 1000u);
  EXPECT_EQ(rig.beeper.beeps, 0);
}

TEST_F(FeatureReports, AModeReportRejectedTwiceBeepsOnce) {
  rig.a->rejectFeatures = -1;
  link->SetReportMode(3);
  EXPECT_EQ(rig.a->features.size(), 2u);
  EXPECT_EQ(rig.beeper.beeps, 1);
}

TEST_F(FeatureReports, TheRetrySendsTheModeRecordedLastNotAStaleOne) {
  rig.a->rejectFeatures = 1;
  rig.clock.onProcessMessages = [&] {
    rig.clock.onProcessMessages = nullptr;
    link->SendFlags();       // a posted command runs inside the wait
    link->SetReportMode(1);  // and another changes the mode
  };
  link->SetReportMode(3);
  const auto sent = rig.Sent();
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(sent[1][1], 6);
  EXPECT_EQ(sent[2][1], 1);
  EXPECT_EQ(sent[3], (Bytes{8, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(link->ReportMode, 1);
  for (size_t i = 1; i < rig.a->features.size(); ++i)
    EXPECT_GE(rig.a->features[i].tick - rig.a->features[i - 1].tick, 300u);
}

TEST_F(FeatureReports, ATabletUnpluggedDuringTheRetryWaitIsNotSentTheRetry) {
  rig.a->rejectFeatures = -1;
  rig.clock.onProcessMessages = [&] { rig.hid.Leave(*rig.a); };
  link->SetReportMode(3);
  EXPECT_EQ(rig.a->features.size(), 1u);
  EXPECT_EQ(rig.beeper.beeps, 0);
}

TEST_F(FeatureReports, RejectedFlagsAndParametersBeepAtOnceWithoutRetry) {
  rig.a->rejectFeatures = -1;
  link->SendFlags();
  link->SendParameters();
  EXPECT_EQ(rig.a->features.size(), 2u);
  EXPECT_EQ(rig.beeper.beeps, 2);
  EXPECT_EQ(rig.clock.pumped, 0u);
}

TEST(FeatureReportsPressureBase, TheReportRightAfterAReadCarriesPressureBaseAndTheNextZero) {
  UsbCommRig rig;
  rig.AddTablet();
  rig.pad.SetAll(MakeBlock(1600, 29, 1, 0, 0));
  TUsbComm& link = rig.Create();
  ASSERT_FALSE(rig.Sent().empty());
  EXPECT_EQ(rig.Sent().back(), (Bytes{8, 4, 29, 1, 0, 0, 0x06, 0x40}));
  EXPECT_EQ(link.PressureBase(), 0);
  link.SendParameters();
  EXPECT_EQ(rig.Sent().back(), (Bytes{8, 4, 29, 1, 0, 0, 0, 0}));
}

TEST(FeatureReportsPressureBase, ARejectedParametersReportKeepsPressureBaseForTheNextOne) {
  UsbCommRig rig;
  rig.AddTablet();
  rig.pad.SetAll(MakeBlock(1600, 29, 1, 0, 0));
  rig.a->rejectFeatures = 1;
  TUsbComm& link = rig.Create();
  EXPECT_EQ(rig.beeper.beeps, 1);
  EXPECT_EQ(link.PressureBase(), 1600);
  link.SendParameters();
  EXPECT_EQ(rig.Sent().back(), (Bytes{8, 4, 29, 1, 0, 0, 0x06, 0x40}));
}

}  // namespace
}  // namespace pen
