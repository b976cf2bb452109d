#include "pipeline/win32/PadLinkLibrary.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pipeline/UsbComm.h"
#include "support/FakeClock.h"
#include "support/FakeHid.h"

namespace pen::win32 {
namespace {

using Copy = std::array<uint8_t, 64>;

std::string BesideProgram(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path);
  dir.resize(dir.find_last_of("\\/") + 1);
  return dir + name;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Copy Filled(uint8_t value) {
  Copy c;
  c.fill(value);
  return c;
}

// The stand-in library keeps its memory in a file beside itself, which is
// beside this program; every test starts from memory that was never written.
struct StandInLibrary : ::testing::Test {
  std::string store = BesideProgram("padlink_vc.bin");
  void SetUp() override { std::remove(store.c_str()); }
  void TearDown() override { std::remove(store.c_str()); }
};

TEST_F(StandInLibrary, IsFoundByNameBesideTheProgramWithAllFourCalls) {
  TPadLinkLibrary lib;
  EXPECT_TRUE(lib.Available()) << lib.Status();
  EXPECT_EQ(lib.Status(), "available");
  EXPECT_EQ(lib.IfAvailable(), &lib);
}

TEST_F(StandInLibrary, MemoryThatWasNeverWrittenReadsErased) {
  TPadLinkLibrary lib;
  EXPECT_NE(lib.DetectDevice(0), 0);
  for (uint32_t address : {8191u, 8190u, 8189u}) {
    Copy c = Filled(0);
    EXPECT_NE(lib.ReadBuffer(address, c.data(), 64, 0), 0);
    EXPECT_EQ(c, Filled(0xFF)) << address;
  }
}

TEST_F(StandInLibrary, EachCopyIsKeptInTheFileAndReadBackAfterReloading) {
  {
    TPadLinkLibrary lib;
    ASSERT_NE(lib.WriteBuffer(8191, Filled(1).data(), 64, 0), 0);
    ASSERT_NE(lib.WriteBuffer(8190, Filled(2).data(), 64, 0), 0);
    ASSERT_NE(lib.WriteBuffer(8189, Filled(3).data(), 64, 0), 0);
  }
  const std::vector<uint8_t> bytes = FileBytes(store);
  ASSERT_EQ(bytes.size(), 192u);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[64], 2);
  EXPECT_EQ(bytes[191], 3);

  TPadLinkLibrary again;
  Copy c{};
  ASSERT_NE(again.ReadBuffer(8190, c.data(), 64, 0), 0);
  EXPECT_EQ(c, Filled(2));
}

TEST_F(StandInLibrary, ErasingBlocksZeroToThirtyOneClearsAllThreeCopies) {
  TPadLinkLibrary lib;
  for (uint32_t address : {8191u, 8190u, 8189u}) lib.WriteBuffer(address, Filled(7).data(), 64, 0);
  EXPECT_NE(lib.EraseBlock(32, 40), 0);  // other blocks: the copies stay
  Copy c{};
  lib.ReadBuffer(8189, c.data(), 64, 0);
  EXPECT_EQ(c, Filled(7));

  EXPECT_NE(lib.EraseBlock(0, 31), 0);
  for (uint32_t address : {8191u, 8190u, 8189u}) {
    lib.ReadBuffer(address, c.data(), 64, 0);
    EXPECT_EQ(c, Filled(0xFF)) << address;
  }
  EXPECT_EQ(lib.EraseBlock(31, 0), 0);
}

TEST_F(StandInLibrary, AddressesOutsideTheCopiesAndOversizedTransfersAreRefused) {
  TPadLinkLibrary lib;
  std::array<uint8_t, 128> big{};
  EXPECT_EQ(lib.ReadBuffer(8192, big.data(), 64, 0), 0);
  EXPECT_EQ(lib.WriteBuffer(0, big.data(), 64, 0), 0);
  EXPECT_EQ(lib.ReadBuffer(8191, big.data(), 128, 0), 0);
  EXPECT_EQ(lib.ReadBuffer(8191, nullptr, 64, 0), 0);
}

TEST_F(StandInLibrary, ATruncatedFileReadsItsMissingPartAsErased) {
  {
    std::ofstream out(store, std::ios::binary);
    out.write("\x01\x02\x03", 3);
  }
  TPadLinkLibrary lib;
  Copy c{};
  ASSERT_NE(lib.ReadBuffer(8191, c.data(), 64, 0), 0);
  EXPECT_EQ(c[0], 1);
  EXPECT_EQ(c[2], 3);
  EXPECT_EQ(c[3], 0xFF);
  ASSERT_NE(lib.ReadBuffer(8189, c.data(), 64, 0), 0);
  EXPECT_EQ(c, Filled(0xFF));
}

TEST(MissingLibrary, IsNotAvailableAndEveryCallFails) {
  TPadLinkLibrary lib("padlink_absent.dll");
  EXPECT_FALSE(lib.Available());
  EXPECT_NE(lib.Status().find("not available"), std::string::npos);
  EXPECT_EQ(lib.IfAvailable(), nullptr);
  Copy c{};
  EXPECT_EQ(lib.DetectDevice(0), 0);
  EXPECT_EQ(lib.ReadBuffer(8191, c.data(), 64, 0), 0);
  EXPECT_EQ(lib.WriteBuffer(8191, c.data(), 64, 0), 0);
  EXPECT_EQ(lib.EraseBlock(0, 31), 0);
}

TEST(MissingLibrary, ALibraryWithoutTheFourCallsIsNotAvailable) {
  TPadLinkLibrary lib("kernel32.dll");
  EXPECT_FALSE(lib.Available());
  EXPECT_EQ(lib.IfAvailable(), nullptr);
}

TEST_F(StandInLibrary, TheDeviceLinkKeepsItsParametersInTheStandInMemory) {
  TPadLinkLibrary lib;
  test::FakeClock clock;
  test::FakeHidController hid;
  hid.AddInterfaceA(0x2000);
  hid.AddInterfaceB(0x2000);
  struct : IBeeper {
    void Beep() override {}
  } beeper;

  TUsbComm link(hid, lib.IfAvailable(), clock, beeper);
  // Blank memory was given its base and written to all three copies.
  std::vector<uint8_t> bytes = FileBytes(store);
  ASSERT_EQ(bytes.size(), 192u);
  EXPECT_EQ(bytes[0], 0x06);
  EXPECT_EQ(bytes[1], 0x0E);
  EXPECT_EQ(bytes[128], 0x06);

  link.KeyUsage = 30;
  link.Rotation = 2;
  ASSERT_TRUE(link.WriteParameters());
  link.KeyUsage = 0;
  ASSERT_TRUE(link.ReadParameters());
  EXPECT_EQ(link.KeyUsage, 30);
  EXPECT_EQ(link.Rotation, 2);
  bytes = FileBytes(store);
  EXPECT_EQ(bytes[64 + 2], 30);
}

}  // namespace
}  // namespace pen::win32
