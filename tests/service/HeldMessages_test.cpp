// Messages that reach the main window before the host is attached.
#include "service/HeldMessages.h"

#include <gtest/gtest.h>

#include <vector>

namespace pen {
namespace {

using Message = THeldMessages::Message;

std::vector<int64_t> HandedOver(THeldMessages& held) {
  std::vector<int64_t> out;
  held.HandOver([&](const Message& m) { out.push_back(static_cast<int64_t>(m.msg) * 1000 + m.lparam); });
  return out;
}

TEST(HeldMessages, RegistrationsAndWheelMessagesAreKeptInOrderAndHandedOverOnceThenNothingIsHeld) {
  THeldMessages held;
  held.Watch(0xC100);  // message A
  held.Watch(0xC101);  // message B
  held.Watch(1524);    // WM_WHEELUI
  held.Watch(0);       // a refused registration holds nothing
  EXPECT_TRUE(held.Hold(0xC100, 0x10, 1));
  EXPECT_FALSE(held.Hold(1125, 0, 0));  // a service command: default processing as before
  EXPECT_FALSE(held.Hold(0, 0, 0));
  EXPECT_TRUE(held.Hold(1524, 2, 3));
  EXPECT_TRUE(held.Hold(0xC101, 0x10, 2));
  EXPECT_EQ(HandedOver(held), (std::vector<int64_t>{0xC100 * 1000 + 1, 1524 * 1000 + 3, 0xC101 * 1000 + 2}));
  // Attached: from now on the host takes them itself.
  EXPECT_FALSE(held.Hold(0xC100, 0x11, 4));
  EXPECT_TRUE(HandedOver(held).empty());
}

TEST(HeldMessages, AFloodBeyondItsRoomIsCountedAndDroppedKeepingTheFirst) {
  THeldMessages held;
  held.Watch(0xC100);
  for (int64_t i = 0; i < 70; ++i) EXPECT_TRUE(held.Hold(0xC100, 0, i));
  EXPECT_EQ(held.Count(), 64u);
  EXPECT_EQ(held.Dropped(), 6u);
  const std::vector<int64_t> out = HandedOver(held);
  ASSERT_EQ(out.size(), 64u);
  EXPECT_EQ(out.front(), 0xC100 * 1000 + 0);
  EXPECT_EQ(out.back(), 0xC100 * 1000 + 63);
}

}  // namespace
}  // namespace pen
