#include "wintab/WintabContext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "wintab/WintabInfo.h"

namespace pen::wintab {
namespace {

TEST(ScaleAxis, MapsTheInputAreaOntoTheOutputAreaAndANegativeExtentTurnsTheAxisRound) {
  // The whole device onto 1920 pixels.
  EXPECT_EQ(ScaleAxis(0, 0, 65521, 0, 1920), 0);
  EXPECT_EQ(ScaleAxis(65520, 0, 65521, 0, 1920), 1919);
  EXPECT_EQ(ScaleAxis(32760, 0, 65521, 0, 1920), 959);
  // Flipped: the device's bottom (0) is the output's last row.
  EXPECT_EQ(ScaleAxis(0, 0, 65521, 0, -1080), 1079);
  EXPECT_EQ(ScaleAxis(65520, 0, 65521, 0, -1080), 0);
  // Flipped onto the same extent: the channel's own y comes back.
  EXPECT_EQ(ScaleAxis(65520 - 1234, 0, 65521, 0, -65521), 1234);
  // Offset output.
  EXPECT_EQ(ScaleAxis(0, 0, 65521, -1920, 1920), -1920);
  EXPECT_EQ(ScaleAxis(65520, 0, 65521, 100, -200), 100);
  EXPECT_EQ(ScaleAxis(0, 0, 65521, 100, -200), 299);
  // A part of the device: outside it the value is held at its edge.
  EXPECT_EQ(ScaleAxis(10000, 10000, 20000, 0, 1000), 0);
  EXPECT_EQ(ScaleAxis(5000, 10000, 20000, 0, 1000), 0);
  EXPECT_EQ(ScaleAxis(40000, 10000, 20000, 0, 1000), 999);
  EXPECT_EQ(ScaleAxis(20000, 10000, 20000, 0, 1000), 500);
  // Nothing to map.
  EXPECT_EQ(ScaleAxis(123, 0, 0, 7, 100), 7);
}

LOGCONTEXTW Digitizing(WTPKT data, WTPKT mode = 0) {
  LOGCONTEXTW lc = TWintabInfo::DefaultContext(false, Desktop{0, 0, 1920, 1080});
  lc.f.lcPktData = data;
  lc.f.lcPktMode = mode;
  return lc;
}

TabletSample Sample(int32_t x, int32_t y, int32_t pressure, uint32_t buttons = 0, uint32_t time = 100) {
  TabletSample s;
  s.inRange = true;
  s.x = x;
  s.y = y;
  s.pressure = pressure;
  s.buttons = buttons;
  s.orientation = {0, 900, 0};
  s.time = time;
  return s;
}

struct Packet {
  uint32_t status, time, changed, serial, cursor, buttons;
  int32_t x, y, z, pressure, tangent;
  ORIENTATION orientation;
};
constexpr WTPKT kAll32 = PK_STATUS | PK_TIME | PK_CHANGED | PK_SERIAL_NUMBER | PK_CURSOR | PK_BUTTONS | PK_X | PK_Y |
                         PK_Z | PK_NORMAL_PRESSURE | PK_TANGENT_PRESSURE | PK_ORIENTATION;
static_assert(sizeof(Packet) == 56);

// Translates and queues; false when nothing was made.
bool Feed(TWintabContext& c, const TabletSample& s, uint32_t offset = 0) {
  PacketFields p;
  bool entered = false;
  return c.Translate(s, offset, p, entered) && c.Push(p);
}

std::vector<Packet> Take(TWintabContext& c) {
  std::vector<Packet> out(static_cast<size_t>(c.Queued()));
  EXPECT_EQ(c.Layout().Size(), sizeof(Packet));
  c.PacketsGet(c.Queued(), reinterpret_cast<uint8_t*>(out.data()));
  return out;
}

TEST(WintabContext, AnAbsolutePacketCarriesThePositionScaledPressureButtonsCursorAndSystemTime) {
  LOGCONTEXTW lc = Digitizing(kAll32);
  lc.f.lcOutOrgX = 0;
  lc.f.lcOutExtX = 1920;
  lc.f.lcOutOrgY = 0;
  lc.f.lcOutExtY = -1080;  // as a program wants screen rows
  TWintabContext c(7, 0x10, lc, 8);
  ASSERT_TRUE(Feed(c, Sample(65520, 65520, 0), 5000));
  ASSERT_TRUE(Feed(c, Sample(32760, 0, 1500, 1, 108), 5000));
  const auto p = Take(c);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].x, 1919);
  EXPECT_EQ(p[0].y, 0);
  EXPECT_EQ(p[0].time, 5100u);
  EXPECT_EQ(p[0].serial, 1u);
  EXPECT_EQ(p[0].cursor, 1u);
  EXPECT_EQ(p[0].status, 0u);
  EXPECT_EQ(p[0].orientation.orAltitude, 900);
  EXPECT_EQ(p[1].x, 959);
  EXPECT_EQ(p[1].y, 1079);
  EXPECT_EQ(p[1].pressure, 1500);
  EXPECT_EQ(p[1].buttons, 1u);
  EXPECT_EQ(p[1].serial, 2u);
  EXPECT_EQ(p[1].time, 5108u);
  EXPECT_EQ(p[1].z, 0);
  EXPECT_EQ(p[1].tangent, 0);
  EXPECT_EQ(p[1].changed, PK_X | PK_Y | PK_NORMAL_PRESSURE | PK_BUTTONS | PK_TIME | PK_SERIAL_NUMBER);
}

TEST(WintabContext, RelativeItemsFromLcPktModeAreChangesSinceTheLastPacketAndButtonsReportOneEdge) {
  TWintabContext c(7, 0x10, Digitizing(kAll32, PK_X | PK_Y | PK_NORMAL_PRESSURE | PK_BUTTONS), 8);
  ASSERT_TRUE(Feed(c, Sample(1000, 2000, 0)));
  ASSERT_TRUE(Feed(c, Sample(1010, 1990, 300, 1)));
  ASSERT_TRUE(Feed(c, Sample(1015, 1990, 200, 1 | 2)));
  ASSERT_TRUE(Feed(c, Sample(1015, 1995, 0, 2)));
  const auto p = Take(c);
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[0].x, 0);  // the first packet has nothing to be relative to
  EXPECT_EQ(p[0].buttons, TBN_NONE << 16);
  EXPECT_EQ(p[1].x, 10);
  EXPECT_EQ(p[1].y, -10);
  EXPECT_EQ(p[1].pressure, 300);
  EXPECT_EQ(p[1].buttons, 0u | (TBN_DOWN << 16));  // the tip went down
  EXPECT_EQ(p[2].x, 5);
  EXPECT_EQ(p[2].pressure, -100);
  EXPECT_EQ(p[2].buttons, 1u | (TBN_DOWN << 16));  // barrel button 1
  EXPECT_EQ(p[3].y, 5);
  EXPECT_EQ(p[3].buttons, 0u | (TBN_UP << 16));
}

TEST(WintabContext, OnlyAMovementOfTheMoveMaskOrAButtonOfTheButtonMasksMakesAPacket) {
  LOGCONTEXTW lc = Digitizing(kAll32);
  lc.f.lcMoveMask = PK_NORMAL_PRESSURE;
  lc.f.lcBtnUpMask = 0;
  TWintabContext c(7, 0x10, lc, 8);
  EXPECT_TRUE(Feed(c, Sample(1000, 1000, 0)));           // coming in
  EXPECT_FALSE(Feed(c, Sample(2000, 1000, 0, 0, 120)));  // moved: not of the mask
  EXPECT_TRUE(Feed(c, Sample(2000, 1000, 10)));          // pressure
  EXPECT_TRUE(Feed(c, Sample(2000, 1000, 10, 2)));       // a button down
  EXPECT_FALSE(Feed(c, Sample(2000, 1000, 10, 0)));      // and up: not in the mask
  const auto p = Take(c);
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[1].serial, 2u);
  EXPECT_EQ(p[2].serial, 3u);
}

TEST(WintabContext, AFullQueueLosesTheNewPacketsAndTheNextOneQueuedSaysSo) {
  TWintabContext c(7, 0x10, Digitizing(kAll32), 8);
  EXPECT_EQ(c.QueueSize(), 8);
  ASSERT_TRUE(c.SetQueueSize(4));
  for (int i = 0; i < 6; ++i) Feed(c, Sample(1000 + i, 0, 0));
  EXPECT_EQ(c.Queued(), 4);
  auto p = Take(c);
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[0].serial, 1u);
  EXPECT_EQ(p[3].serial, 4u);
  EXPECT_EQ(p[3].status & TPS_QUEUE_ERR, 0u);
  ASSERT_TRUE(Feed(c, Sample(2000, 0, 0)));
  ASSERT_TRUE(Feed(c, Sample(2001, 0, 0)));
  p = Take(c);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].serial, 7u);  // 5 and 6 were lost
  EXPECT_EQ(p[0].status, TPS_QUEUE_ERR);
  EXPECT_EQ(p[1].status, 0u);
}

TEST(WintabContext, AQueueSizeOutOfRangeLeavesNoQueueUntilASizeThatWorks) {
  TWintabContext c(7, 0x10, Digitizing(kAll32), 8);
  Feed(c, Sample(1, 1, 0));
  EXPECT_FALSE(c.SetQueueSize(0));
  EXPECT_EQ(c.QueueSize(), 0);
  EXPECT_FALSE(Feed(c, Sample(2, 1, 0)));
  EXPECT_FALSE(c.SetQueueSize(TWintabContext::kLargestQueueSize + 1));
  EXPECT_TRUE(c.SetQueueSize(128));
  EXPECT_EQ(c.QueueSize(), 128);
  EXPECT_EQ(c.Queued(), 0);  // a new queue starts empty
}

TEST(WintabContext, PacketsBySerialAndRangesCopyAndDropTheOldOnes) {
  TWintabContext c(7, 0x10, Digitizing(kAll32), 8);
  for (int i = 0; i < 6; ++i) Feed(c, Sample(100 * i, 0, i));
  uint32_t oldest = 0, newest = 0;
  ASSERT_TRUE(c.OldestAndNewest(oldest, newest));
  EXPECT_EQ(oldest, 1u);
  EXPECT_EQ(newest, 6u);

  Packet one{};
  EXPECT_FALSE(c.PacketBySerial(9, reinterpret_cast<uint8_t*>(&one)));
  EXPECT_EQ(c.Queued(), 6);
  ASSERT_TRUE(c.PacketBySerial(2, reinterpret_cast<uint8_t*>(&one)));
  EXPECT_EQ(one.pressure, 1);
  EXPECT_EQ(c.Queued(), 4);  // 1 and 2 are gone

  std::vector<Packet> some(2);
  int copied = 0;
  EXPECT_EQ(c.DataGet(3, 5, 2, reinterpret_cast<uint8_t*>(some.data()), copied, false), 3);
  EXPECT_EQ(copied, 2);
  EXPECT_EQ(some[1].serial, 4u);
  EXPECT_EQ(c.Queued(), 4);  // a peek
  EXPECT_EQ(c.DataGet(5, 3, 2, reinterpret_cast<uint8_t*>(some.data()), copied, true), 0);
  EXPECT_EQ(c.DataGet(3, 4, 8, reinterpret_cast<uint8_t*>(some.data()), copied, true), 2);
  EXPECT_EQ(c.Queued(), 2);
  EXPECT_EQ(c.PacketsPeek(8, nullptr), 2);
  EXPECT_EQ(c.PacketsGet(8, nullptr), 2);  // a null buffer flushes
  EXPECT_EQ(c.Queued(), 0);
  EXPECT_FALSE(c.OldestAndNewest(oldest, newest));
}

TEST(WintabContext, NewSettingsKeepTheStatusAndLayQueuedPacketsOutTheNewWay) {
  TWintabContext c(7, 0x10, Digitizing(kAll32), 8);
  c.SetEnabled(false);
  Feed(c, Sample(500, 600, 700));
  LOGCONTEXTW lc = Digitizing(PK_NORMAL_PRESSURE | PK_X);
  lc.f.lcStatus = 0;
  c.SetSettings(lc);
  EXPECT_FALSE(c.Enabled());
  int32_t two[2];
  ASSERT_EQ(c.PacketsGet(1, reinterpret_cast<uint8_t*>(two)), 1);
  EXPECT_EQ(two[0], 500);
  EXPECT_EQ(two[1], 700);
}

}  // namespace
}  // namespace pen::wintab
