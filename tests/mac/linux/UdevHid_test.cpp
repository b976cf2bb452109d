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

// The tablet's descriptor: a vendor collection (page 0xFF00, usage 1) with
// the digitizer report, then a digitizer pen collection (page 0x0D, usage 2).
const uint8_t kTabletDescriptor[] = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x07, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x0E,
    0x09, 0x01, 0x81, 0x02, 0x85, 0x08, 0x95, 0x07, 0x09, 0x01, 0xB1, 0x02, 0xC0, 0x05, 0x0D, 0x09, 0x02, 0xA1,
    0x01, 0x85, 0x09, 0x09, 0x20, 0xA1, 0x00, 0x09, 0x42, 0x09, 0x32, 0x25, 0x01, 0x75, 0x01, 0x95, 0x02, 0x81,
    0x02, 0x95, 0x06, 0x81, 0x03, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x26, 0xFF, 0x0F, 0x75, 0x10, 0x95, 0x02,
    0x81, 0x02, 0xC0, 0xC0,
};

// The application asks for the tablet by its ids alone: its node matches
// whatever collections its descriptor has, even when the descriptor could
// not be read. Asked for by usage, any one collection of the node will do,
// but page and usage must come from the same one.
TEST(UdevHid, TheTabletMatchesWhateverItsCollectionsAndAUsageInAnyOneOfThem) {
  HidrawInfo tablet;
  tablet.vendorId = 0x08F2;
  tablet.productId = 0x6811;
  tablet.descriptor = ParseReportDescriptor(kTabletDescriptor, sizeof kTabletDescriptor);
  HidrawInfo unread = tablet;
  unread.descriptor = {};
  HidrawInfo other = tablet;
  other.productId = 0x6812;

  const HIDMonitorData byIds{0x08F2, 0x6811, std::nullopt, std::nullopt};
  EXPECT_TRUE(Matches(tablet, {&byIds, 1}));
  EXPECT_TRUE(Matches(unread, {&byIds, 1}));
  EXPECT_FALSE(Matches(other, {&byIds, 1}));

  const HIDMonitorData pen{0x08F2, 0x6811, 0x0D, 0x02};           // the second collection
  const HIDMonitorData vendor{0x08F2, 0x6811, 0xFF00, 0x01};      // the first
  const HIDMonitorData mixed{0x08F2, 0x6811, 0x0D, 0x01};         // page of one, usage of the other
  const HIDMonitorData pageOnly{0x08F2, 0x6811, 0x0D, std::nullopt};
  EXPECT_TRUE(Matches(tablet, {&pen, 1}));
  EXPECT_TRUE(Matches(tablet, {&vendor, 1}));
  EXPECT_TRUE(Matches(tablet, {&pageOnly, 1}));
  EXPECT_FALSE(Matches(tablet, {&mixed, 1}));
  EXPECT_FALSE(Matches(unread, {&pen, 1}));
  const HIDMonitorData list[] = {mixed, pen};
  EXPECT_TRUE(Matches(tablet, list));
}

}  // namespace
}  // namespace penmac::linux_layer
