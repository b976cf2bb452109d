#include <gtest/gtest.h>

#include "UsbCommRig.h"
#include "pipeline/UsbComm.h"

namespace pen {
namespace {

using test::FakePadLink;
using test::MakeBlock;
using test::UsbCommRig;
using Addresses = std::vector<uint32_t>;
const Addresses kAllCopies{8191, 8190, 8189};

// A tablet connected without touching memory, so each test starts clean.
struct DeviceMemory : ::testing::Test {
  UsbCommRig rig;
  TUsbComm* link = nullptr;

  void Connect(uint16_t firmware = 0x2000) {
    rig.AddTablet(firmware);
    rig.pad.failRead = {8191, 8190, 8189};  // the read on arrival finds nothing
    link = &rig.Create();
    rig.pad.failRead.clear();
    rig.ForgetCalls();
  }
  void SetUp() override { Connect(); }
  ParamBlock Copy(uint32_t address) { return rig.pad.memory[address]; }
  void ExpectAllCopies(const ParamBlock& block) {
    for (uint32_t a : kAllCopies) EXPECT_EQ(Copy(a), block) << "copy " << a;
  }
};

TEST_F(DeviceMemory, AValidBlockIsReadIntoTheFieldsAndNotRewritten) {
  rig.pad.SetAll(MakeBlock(1600, 4, 2, 0xFFF6, 3));
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 4);
  EXPECT_EQ(link->KeyModifiers, 2);
  EXPECT_EQ(link->Pressure(), -10);
  EXPECT_EQ(link->Rotation, 3);
  EXPECT_EQ(rig.pad.Addresses("Read"), Addresses{8191});
  EXPECT_EQ(rig.pad.Count("Erase") + rig.pad.Count("Write"), 0);
  EXPECT_EQ(rig.Sent().back()[1], 4);  // the parameters report follows the read
}

TEST_F(DeviceMemory, BlankMemoryOnAClassicTabletGetsBase1550AndIsWrittenToAllThreeCopies) {
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 0xFF);
  EXPECT_EQ(link->KeyModifiers, 0xFF);
  EXPECT_EQ(link->PressureWord, 0xFFFF);
  EXPECT_EQ(link->Rotation, 0xFF);
  EXPECT_EQ(rig.Sent().back(), (std::vector<uint8_t>{8, 4, 0xFF, 0xFF, 0xFF, 0xFF, 0x06, 0x0E}));
  EXPECT_EQ(rig.pad.Count("Erase"), 1);
  EXPECT_EQ(rig.pad.Addresses("Write"), kAllCopies);
  ParamBlock expected;
  expected.fill(0xFF);
  WriteBigEndian16(expected, 0, 1550);
  StoreChecksum(expected);
  ExpectAllCopies(expected);
}

TEST_F(DeviceMemory, WritesAfterAnEraseAreSpacedBy100Ms) {
  ASSERT_TRUE(link->ReadParameters());
  uint32_t last = 0;
  for (const FakePadLink::Call& c : rig.pad.calls) {
    if (c.name == "Write") {
      EXPECT_GE(c.tick - last, 100u);
    }
    if (c.name == "Write" || c.name == "Erase") last = c.tick;
  }
}

TEST(DeviceMemoryTracker, BlankMemoryOnATrackerTabletGetsBase1450AndNeutralPressure) {
  UsbCommRig rig;
  rig.AddTablet(0x2111);
  TUsbComm& link = rig.Create();
  EXPECT_EQ(link.PressureWord, 0);
  EXPECT_EQ(ReadBigEndian16(rig.pad.memory[8189], 0), 1450);
}

TEST(DeviceMemoryTracker, ATrackerTabletWithAnotherBaseIsForcedTo1450AndLosesItsPressure) {
  UsbCommRig rig;
  rig.AddTablet(0x2111);
  rig.pad.SetAll(MakeBlock(1550, 4, 2, 0x0020, 1));
  TUsbComm& link = rig.Create();
  EXPECT_EQ(link.PressureWord, 0);
  EXPECT_EQ(link.KeyUsage, 4);
  for (uint32_t a : kAllCopies) {
    EXPECT_EQ(rig.pad.memory[a], MakeBlock(1450, 4, 2, 0, 1));
  }
}

TEST_F(DeviceMemory, AnOutOfRangePressureBaseReinitialisesTheBlock) {
  rig.pad.SetAll(MakeBlock(900, 4, 2, 0x0020, 1));
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 29);
  EXPECT_EQ(link->KeyModifiers, 1);
  EXPECT_EQ(link->PressureWord, 0);
  EXPECT_EQ(link->Rotation, 0xFF);
  ExpectAllCopies(MakeBlock(1550, 29, 1, 0, 0xFF));
}

TEST_F(DeviceMemory, ACopyWithABadChecksumIsReplacedByAGoodOneAndAllThreeRewritten) {
  const ParamBlock good = MakeBlock(1600, 7, 4, 0x0010, 2);
  rig.pad.SetAll(good);
  rig.pad.memory[8191][2] = 8;  // checksum no longer holds
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 7);
  EXPECT_EQ(rig.pad.Addresses("Write"), kAllCopies);
  ExpectAllCopies(good);
}

TEST_F(DeviceMemory, AnUnreadableSecondCopyDoesNotStopTheSearchForAGoodOne) {
  const ParamBlock good = MakeBlock(1600, 7, 4, 0x0010, 2);
  rig.pad.SetAll(good);
  rig.pad.memory[8191][3] = 9;
  rig.pad.failRead = {8190};
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(link->KeyModifiers, 4);
  rig.pad.failRead.clear();
  ExpectAllCopies(good);
}

TEST_F(DeviceMemory, WhenNoCopyHoldsItsChecksumNothingChangesAndNothingIsWritten) {
  ParamBlock bad = MakeBlock(1600, 7, 4, 0x0010, 2);
  bad[10] = 0;
  rig.pad.SetAll(bad);
  EXPECT_FALSE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 29);
  EXPECT_EQ(rig.pad.Count("Erase") + rig.pad.Count("Write"), 0);
  EXPECT_TRUE(rig.Sent().empty());
  ExpectAllCopies(bad);
}

TEST_F(DeviceMemory, AFailedReadOfTheFirstCopyFallsBackToTheNextAfter100Ms) {
  rig.pad.SetAll(MakeBlock(1600, 7, 4, 0, 2));
  rig.pad.failRead = {8191, 8190};
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 7);
  const auto& calls = rig.pad.calls;
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(rig.pad.Addresses("Read"), kAllCopies);
  EXPECT_GE(calls[calls.size() - 1].tick - calls[calls.size() - 2].tick, 100u);
}

TEST_F(DeviceMemory, WhenNoCopyCanBeReadTheFieldsKeepTheirValues) {
  rig.pad.failRead = {8191, 8190, 8189};
  link->KeyUsage = 44;
  EXPECT_FALSE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 44);
  EXPECT_TRUE(rig.Sent().empty());
}

TEST_F(DeviceMemory, AnErasedFirstCopyIsOutvotedByTwoMatchingCopies) {
  const ParamBlock good = MakeBlock(1700, 9, 2, 0x0003, 1);
  rig.pad.SetAll(good);
  rig.pad.memory[8191].fill(0xFF);
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 9);
  ExpectAllCopies(good);
}

TEST_F(DeviceMemory, AnErasedFirstCopyIsNotReplacedByCopiesThatDisagree) {
  rig.pad.memory[8190] = MakeBlock(1700, 9, 2, 0x0003, 1);
  rig.pad.memory[8189] = MakeBlock(1800, 9, 2, 0x0003, 1);
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 0xFF);
  EXPECT_EQ(ReadBigEndian16(Copy(8189), 0), 1550);
}

TEST_F(DeviceMemory, MemoryThatNeverAnswersIsGivenUpAfterAboutTenSeconds) {
  rig.pad.detectFailures = -1;
  link->KeyUsage = 44;
  const uint32_t start = rig.clock.now;
  EXPECT_FALSE(link->ReadParameters());
  const uint32_t waited = rig.clock.now - start;
  EXPECT_GT(waited, 10000u);
  EXPECT_LE(waited, 11000u);
  EXPECT_EQ(rig.pad.Count("Detect"), 11);
  EXPECT_EQ(rig.pad.Count("Read"), 0);
  EXPECT_EQ(link->KeyUsage, 44);
  EXPECT_EQ(link->DetectResult(), 0);

  EXPECT_FALSE(link->WriteParameters());
  EXPECT_EQ(rig.pad.Count("Write") + rig.pad.Count("Erase"), 0);
}

TEST_F(DeviceMemory, AnAnswerToThePollAfterTenSecondsComesTooLate) {
  rig.pad.SetAll(MakeBlock(1600, 7, 4, 0, 2));
  rig.pad.detectFailures = 10;  // the eleventh poll, at 10 000 ms, answers
  EXPECT_FALSE(link->ReadParameters());
  EXPECT_EQ(rig.pad.Count("Detect"), 11);
  EXPECT_EQ(rig.pad.Count("Read"), 0);
  EXPECT_EQ(link->KeyUsage, 29);

  rig.pad.calls.clear();
  rig.pad.detectFailures = 9;  // the tenth, at 9000 ms, is still in time
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(rig.pad.Count("Detect"), 10);
  EXPECT_EQ(link->KeyUsage, 7);
}

TEST_F(DeviceMemory, AQuitDuringTheMemoryWaitEndsItAtOnceAsATimeOutWould) {
  rig.pad.detectFailures = -1;
  rig.clock.AtWait(2, [&] { rig.clock.PostQuit(); });
  const uint32_t start = rig.clock.now;
  EXPECT_FALSE(link->ReadParameters());
  EXPECT_EQ(rig.pad.Count("Detect"), 2);
  EXPECT_LT(rig.clock.now - start, 2100u);
  EXPECT_TRUE(rig.clock.Quitting());  // left for the main loop

  EXPECT_FALSE(link->WriteParameters());
  EXPECT_EQ(rig.pad.Count("Detect"), 3);
  EXPECT_EQ(rig.pad.Count("Write") + rig.pad.Count("Erase"), 0);
}

TEST_F(DeviceMemory, ATabletUnpluggedDuringTheMemoryWaitIsNeitherReadNorWritten) {
  rig.pad.SetAll(MakeBlock(1600, 7, 4, 0, 2));
  rig.pad.detectFailures = 1;
  rig.clock.AtWait(1, [&] { rig.hid.Leave(*rig.a); });
  EXPECT_FALSE(link->ReadParameters());
  EXPECT_EQ(rig.pad.Count("Read"), 0);
  EXPECT_EQ(link->KeyUsage, 29);
  EXPECT_FALSE(link->WriteParameters());
  EXPECT_EQ(rig.pad.Count("Write") + rig.pad.Count("Erase"), 0);
}

TEST_F(DeviceMemory, MemoryIsPolledAboutOnceASecondUntilItAnswers) {
  rig.pad.SetAll(MakeBlock(1600, 7, 4, 0, 2));
  rig.pad.detectFailures = 2;
  const uint32_t start = rig.clock.now;
  ASSERT_TRUE(link->ReadParameters());
  const auto& calls = rig.pad.calls;
  ASSERT_EQ(rig.pad.Count("Detect"), 3);
  EXPECT_EQ(calls[1].tick - calls[0].tick, 1000u);
  EXPECT_EQ(calls[2].tick - calls[1].tick, 1000u);
  EXPECT_EQ(calls[3].tick - start, 3000u);  // the read follows the last second
  EXPECT_NE(link->DetectResult(), 0);
}

TEST(DeviceMemoryAbsent, WithoutTheVendorLibraryNothingWaitsAndNothingIsWritten) {
  UsbCommRig rig;
  rig.AddTablet();
  TUsbComm& link = rig.Create(false);
  const uint32_t start = rig.clock.now;
  link.KeyUsage = 44;
  EXPECT_FALSE(link.ReadParameters());
  EXPECT_FALSE(link.WriteParameters());
  EXPECT_EQ(rig.clock.now, start);
  EXPECT_EQ(link.KeyUsage, 44);
}

TEST(DeviceMemoryAbsent, WithoutTheTabletMemoryIsNotTouched) {
  UsbCommRig rig;
  TUsbComm& link = rig.Create();
  EXPECT_FALSE(link.ReadParameters());
  EXPECT_FALSE(link.WriteParameters());
  EXPECT_TRUE(rig.pad.calls.empty());
}

// ------------------------------------------------------------ writing

TEST_F(DeviceMemory, WritingUnchangedParametersSendsTheReportAndWritesNothing) {
  rig.pad.SetAll(MakeBlock(1600, 7, 4, 0x0010, 2));
  ASSERT_TRUE(link->ReadParameters());
  rig.ForgetCalls();
  ASSERT_TRUE(link->WriteParameters());
  EXPECT_EQ(rig.pad.Count("Erase") + rig.pad.Count("Write"), 0);
  ASSERT_EQ(rig.Sent().size(), 1u);
  EXPECT_EQ(rig.Sent()[0], (std::vector<uint8_t>{8, 4, 7, 4, 0, 0x10, 0x06, 0x40}));
}

TEST_F(DeviceMemory, ChangedParametersAreWrittenToAllThreeCopiesAndReadBack) {
  rig.pad.SetAll(MakeBlock(1600, 7, 4, 0x0010, 2));
  link->KeyUsage = 30;
  link->KeyModifiers = 6;
  link->SetPressure(-255);
  link->Rotation = 1;
  ASSERT_TRUE(link->WriteParameters());
  EXPECT_EQ(rig.pad.Count("Erase"), 1);
  EXPECT_EQ(rig.pad.Addresses("Write"), kAllCopies);
  ExpectAllCopies(MakeBlock(1600, 30, 6, 0xFF01, 1));
  EXPECT_EQ(link->Block(), MakeBlock(1600, 30, 6, 0xFF01, 1));

  link->KeyUsage = 0;
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 30);
  EXPECT_EQ(link->Pressure(), -255);
}

TEST_F(DeviceMemory, AWriteWhoseEraseFailsLeavesTheMemoryAsItWas) {
  const ParamBlock old = MakeBlock(1600, 7, 4, 0x0010, 2);
  rig.pad.SetAll(old);
  rig.pad.failErase = true;
  link->KeyUsage = 30;
  EXPECT_FALSE(link->WriteParameters());
  EXPECT_EQ(rig.pad.Count("Write"), 0);
  ExpectAllCopies(old);
  EXPECT_EQ(link->KeyUsage, 30);
}

TEST_F(DeviceMemory, AFailedWriteOfTheFirstCopyStillWritesTheOthersSoTheBlockSurvives) {
  rig.pad.SetAll(MakeBlock(1600, 7, 4, 0x0010, 2));
  ASSERT_TRUE(link->ReadParameters());
  rig.ForgetCalls();
  rig.pad.failWrite = {8191};
  link->KeyUsage = 30;
  ASSERT_TRUE(link->WriteParameters());
  EXPECT_EQ(rig.pad.Addresses("Write"), kAllCopies);
  rig.pad.failWrite.clear();

  // The erased first copy is outvoted by the two written ones on the next read.
  link->KeyUsage = 0;
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 30);
  ExpectAllCopies(MakeBlock(1600, 30, 4, 0x0010, 2));
}

TEST_F(DeviceMemory, AFailedWriteOfTheSecondCopyStillWritesTheThird) {
  rig.pad.SetAll(MakeBlock(1600, 7, 4, 0x0010, 2));
  ASSERT_TRUE(link->ReadParameters());
  rig.ForgetCalls();
  rig.pad.failWrite = {8190};
  link->KeyUsage = 30;
  ASSERT_TRUE(link->WriteParameters());
  EXPECT_EQ(Copy(8189), MakeBlock(1600, 30, 4, 0x0010, 2));
}

TEST_F(DeviceMemory, WhenNoCopyCanBeWrittenTheWriteFailsAndTheFieldsAreKept) {
  rig.pad.SetAll(MakeBlock(1600, 7, 4, 0x0010, 2));
  rig.pad.failWrite = {8191, 8190, 8189};
  link->KeyUsage = 30;
  EXPECT_FALSE(link->WriteParameters());
  EXPECT_EQ(link->KeyUsage, 30);
  EXPECT_EQ(link->Block()[2], 30);
}

TEST_F(DeviceMemory, AWriteStopsWhenTheBlockCannotBeReadFirst) {
  rig.pad.failRead = {8191, 8190, 8189};
  link->KeyUsage = 30;
  EXPECT_FALSE(link->WriteParameters());
  EXPECT_EQ(rig.pad.Count("Write") + rig.pad.Count("Erase"), 0);
  EXPECT_TRUE(rig.Sent().empty());
}

TEST_F(DeviceMemory, ACommandRunDuringTheMemoryWaitDoesNotDisturbTheRead) {
  rig.pad.SetAll(MakeBlock(1600, 7, 4, 0, 2));
  rig.pad.detectFailures = 1;
  rig.clock.onProcessMessages = [&] {
    rig.clock.onProcessMessages = nullptr;
    link->SetReportMode(3);
  };
  ASSERT_TRUE(link->ReadParameters());
  EXPECT_EQ(link->KeyUsage, 7);
  EXPECT_EQ(rig.Sent().front()[1], 3);
}

}  // namespace
}  // namespace pen
