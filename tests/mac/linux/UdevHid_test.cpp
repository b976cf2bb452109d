#include "mac/linux/UdevHid.h"

#include <gtest/gtest.h>

namespace penmac::linux_layer {
namespace {

TEST(UdevHid, TheHidIdGivesBusVendorAndProduct) {
  int64_t bus = 0, vendor = 0, product = 0;
  ASSERT_TRUE(ParseHidId("0003:000008F2:00006811", bus, vendor, product));
  EXPECT_EQ(bus, 3);
  EXPECT_EQ(vendor, 0x08F2);
  EXPECT_EQ(product, 0x6811);
  for (const char* bad : {"", "0003", "0003:000008F2", "0003:000008F2:", "0003:zz:6811", "3:8f2:6811:1"}) {
    EXPECT_FALSE(ParseHidId(bad, bus, vendor, product)) << bad;
  }
}

TEST(UdevHid, VersionNumbersAreHex) {
  EXPECT_EQ(ParseHex("2201"), 0x2201);
  EXPECT_EQ(ParseHex("0100"), 0x100);
  EXPECT_FALSE(ParseHex(""));
  EXPECT_FALSE(ParseHex("22 01"));
  EXPECT_FALSE(ParseHex("123456789"));
}

TEST(UdevHid, TheTabletMatchesWhateverItsCollections) {
  HidrawInfo info;
  info.vendorId = 0x08F2;
  info.productId = 0x6811;
  const HIDMonitorData tablet{0x08F2, 0x6811, std::nullopt, std::nullopt};
  EXPECT_TRUE(Matches(info, {&tablet, 1}));
  info.productId = 0x6812;
  EXPECT_FALSE(Matches(info, {&tablet, 1}));
}

}  // namespace
}  // namespace penmac::linux_layer
