#include "wintab/WintabSession.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/FakeChannelClient.h"
#include "support/FakeChannelPorts.h"
#include "wintab/WintabInfo.h"

namespace pen::wintab {
namespace {

constexpr uint32_t kProcess = 4242;
constexpr uint64_t kDrawing = 0x300;  // the program's window

struct Posted {
  uint64_t window;
  uint32_t msg;
  uint64_t wParam;
  int64_t lParam;
  bool operator==(const Posted&) const = default;
};

class RecordingWindows : public IWintabWindows {
 public:
  std::vector<Posted> posted;
  void Post(uint64_t window, uint32_t msg, uint64_t wParam, int64_t lParam) override {
    posted.push_back({window, msg, wParam, lParam});
  }
  std::vector<Posted> Of(uint32_t msg) const {
    std::vector<Posted> out;
    for (const Posted& p : posted) {
      if (p.msg == msg) out.push_back(p);
    }
    return out;
  }
};

constexpr uint32_t kPacket = WT_DEFBASE + WT_PACKET;
constexpr uint32_t kProximity = WT_DEFBASE + WT_PROXIMITY;
constexpr uint32_t kCsrChange = WT_DEFBASE + WT_CSRCHANGE;

// The whole road in memory: a ring the test writes as the service does, the
// channel client reading it, the session making packets.
struct Rig {
  test::FakeSharedBlockObjects block;
  test::FakeChannelService service;
  test::RingWriter ring{block.bytes};
  RecordingWindows windows;
  TWintabSession session{windows, 8};
  TChannelClient client{block, service, session, 0x900, kProcess};

  Rig() {
    service.window = 0x77;
    client.Poll();
    ring.Target(kProcess);
  }
  // A context as drawing programs open it: the system context with the
  // device's extents flipped, messages on.
  uint64_t OpenLikeADrawingProgram(uint64_t window = kDrawing) {
    LOGCONTEXTW lc = TWintabInfo::DefaultContext(true, Desktop{0, 0, 1920, 1080});
    lc.f.lcOptions |= CXO_MESSAGES | CXO_CSRMESSAGES;
    lc.f.lcPktData = PK_STATUS | PK_TIME | PK_CURSOR | PK_BUTTONS | PK_X | PK_Y | PK_NORMAL_PRESSURE |
                     PK_ORIENTATION | PK_SERIAL_NUMBER;
    lc.f.lcOutOrgX = 0;
    lc.f.lcOutExtX = 65521;
    lc.f.lcOutOrgY = 0;
    lc.f.lcOutExtY = -65521;
    return session.Open(window, lc, true);
  }
  void Write(uint8_t status, uint16_t x, uint16_t y, uint16_t pressure) {
    ring.Write(test::RingWriter::Packet(status, x, y, pressure), 1000 + ring.serial);
  }
};

struct DrawingPacket {
  uint32_t status, time, serial, cursor, buttons;
  int32_t x, y;
  uint32_t pressure;
  ORIENTATION orientation;
};
static_assert(sizeof(DrawingPacket) == 44);

TEST(WintabSession, AStrokeReachesTheContextInOrderWithProximityFirstAndLast) {
  Rig r;
  const uint64_t ctx = r.OpenLikeADrawingProgram();
  ASSERT_NE(ctx, 0u);
  r.windows.posted.clear();
  r.Write(0xC0, 1000, 2000, 0);
  r.Write(0xC1, 1100, 2100, 700);
  r.Write(0xC1, 1200, 2200, 1400);
  r.Write(0xC0, 1300, 2300, 0);
  r.Write(0x80, 1300, 2300, 0);
  r.client.OnMessageA(4, 5);

  const auto& p = r.windows.posted;
  ASSERT_EQ(p.size(), 7u);
  // The packet that brings the pen in is queued before the news.
  EXPECT_EQ(p[0], (Posted{kDrawing, kProximity, ctx, 0x00010001}));
  EXPECT_EQ(p[1], (Posted{kDrawing, kCsrChange, 1, static_cast<int64_t>(ctx)}));
  for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(p[2 + i], (Posted{kDrawing, kPacket, i + 1, static_cast<int64_t>(ctx)}));
  EXPECT_EQ(p[6], (Posted{kDrawing, kProximity, ctx, 0}));
  EXPECT_EQ(r.session.Find(ctx)->Queued(), 4);  // the pen-left packet is no packet
}

TEST(WintabSession, PacketsCarryTheRingsPositionsAndPressuresAsTheRingHeldThem) {
  Rig r;
  const uint64_t ctx = r.OpenLikeADrawingProgram();
  r.Write(0xC0, 1000, 2000, 0);
  r.Write(0xC1, 1100, 2100, 700);
  r.Write(0xC3, 65520, 0, 2048);
  r.client.Drain();
  std::vector<DrawingPacket> got(3);
  ASSERT_EQ(r.session.Find(ctx)->PacketsGet(8, reinterpret_cast<uint8_t*>(got.data())), 3);
  EXPECT_EQ(got[0].x, 1000);
  EXPECT_EQ(got[0].y, 2000);
  EXPECT_EQ(got[0].pressure, 0u);
  EXPECT_EQ(got[1].x, 1100);
  EXPECT_EQ(got[1].y, 2100);
  EXPECT_EQ(got[1].pressure, 700u);
  EXPECT_EQ(got[1].buttons, 1u);
  EXPECT_EQ(got[2].x, 65520);
  EXPECT_EQ(got[2].y, 0);
  EXPECT_EQ(got[2].pressure, 2048u);
  EXPECT_EQ(got[2].buttons, 3u);
  EXPECT_EQ(got[2].cursor % 3, 1u);  // a pen
  EXPECT_EQ(got[0].serial + 2, got[2].serial);
}

TEST(WintabSession, OnlyTheTopmostEnabledContextThatHoldsThePenGetsThePacket) {
  Rig r;
  const uint64_t low = r.OpenLikeADrawingProgram(0x301);
  LOGCONTEXTW part = TWintabInfo::DefaultContext(false, Desktop{0, 0, 1920, 1080});
  part.f.lcOptions = CXO_MESSAGES;
  part.f.lcInOrgX = 0;
  part.f.lcInExtX = 30000;  // the left part of the device
  const uint64_t top = r.session.Open(0x302, part, true);
  r.windows.posted.clear();
  r.Write(0xC0, 1000, 100, 0);   // in both: the top one
  r.Write(0xC0, 40000, 100, 0);  // only in the lower one
  r.client.Drain();
  ASSERT_EQ(r.windows.Of(kPacket).size(), 2u);
  EXPECT_EQ(r.windows.Of(kPacket)[0].window, 0x302u);
  EXPECT_EQ(r.windows.Of(kPacket)[1].window, 0x301u);
  // The pen left the top context but is still over the tablet.
  const auto prox = r.windows.Of(kProximity);
  ASSERT_EQ(prox.size(), 3u);
  EXPECT_EQ(prox[1], (Posted{0x302, kProximity, top, 0x00010000}));
  EXPECT_EQ(prox[2], (Posted{0x301, kProximity, low, 0x00010001}));

  ASSERT_TRUE(r.session.Enable(top, false));
  ASSERT_TRUE(r.session.Overlap(low, false));
  r.windows.posted.clear();
  r.Write(0xC0, 1000, 100, 0);
  r.client.Drain();
  ASSERT_EQ(r.windows.Of(kPacket).size(), 1u);
  EXPECT_EQ(r.windows.Of(kPacket)[0].window, 0x301u);
}

TEST(WintabSession, OverlapMovesTheOnTopStatusAndTellsBothContexts) {
  Rig r;
  const uint64_t a = r.OpenLikeADrawingProgram(0x301);
  const uint64_t b = r.OpenLikeADrawingProgram(0x302);
  EXPECT_EQ(r.session.Find(b)->Settings().f.lcStatus & CXS_ONTOP, CXS_ONTOP);
  EXPECT_EQ(r.session.Find(a)->Settings().f.lcStatus & CXS_ONTOP, 0u);
  r.windows.posted.clear();
  ASSERT_TRUE(r.session.Overlap(a, true));
  EXPECT_EQ(r.session.Find(a)->Settings().f.lcStatus & CXS_ONTOP, CXS_ONTOP);
  const auto o = r.windows.Of(WT_DEFBASE + WT_CTXOVERLAP);
  ASSERT_EQ(o.size(), 2u);
  EXPECT_EQ(o[0], (Posted{0x301, WT_DEFBASE + WT_CTXOVERLAP, a, CXS_ONTOP}));
  EXPECT_EQ(o[1], (Posted{0x302, WT_DEFBASE + WT_CTXOVERLAP, b, 0}));
  EXPECT_FALSE(r.session.Overlap(999, true));
}

TEST(WintabSession, AContextWithoutMessagesQueuesSilentlyAndAnotherMessageBaseIsHonoured) {
  Rig r;
  LOGCONTEXTW lc = TWintabInfo::DefaultContext(false, Desktop{0, 0, 1920, 1080});
  lc.f.lcMsgBase = 0x6000;
  const uint64_t quiet = r.session.Open(0x301, lc, true);
  r.windows.posted.clear();
  r.Write(0xC0, 1000, 100, 0);
  r.client.Drain();
  EXPECT_EQ(r.session.Find(quiet)->Queued(), 1);
  ASSERT_EQ(r.windows.posted.size(), 1u);
  EXPECT_EQ(r.windows.posted[0].msg, 0x6000u + WT_PROXIMITY);
}

TEST(WintabSession, WhenTheServiceGoesThePenLeavesAndWhenItComesBackPacketsFlowAgain) {
  Rig r;
  const uint64_t ctx = r.OpenLikeADrawingProgram();
  r.Write(0xC1, 1000, 100, 300);
  r.client.Drain();
  EXPECT_TRUE(r.session.ServicePresent());
  r.windows.posted.clear();
  r.service.window = 0;
  r.client.Poll();
  EXPECT_FALSE(r.session.ServicePresent());
  EXPECT_EQ(r.windows.posted, (std::vector<Posted>{{kDrawing, kProximity, ctx, 0}}));

  std::fill(r.block.bytes.begin(), r.block.bytes.end(), 0);
  r.ring.serial = 0;
  r.service.window = 0x78;
  r.client.Poll();
  r.ring.Target(kProcess);
  r.Write(0xC1, 2000, 100, 400);
  r.client.Poll();
  EXPECT_TRUE(r.session.ServicePresent());
  EXPECT_EQ(r.windows.Of(kProximity).size(), 2u);
  EXPECT_EQ(r.windows.Of(kPacket).size(), 1u);
}

TEST(WintabSession, SavedContextsOpenAgainWithTheirSettingsAndQueue) {
  Rig r;
  const uint64_t ctx = r.OpenLikeADrawingProgram();
  ASSERT_TRUE(r.session.Find(ctx)->SetQueueSize(50));
  std::vector<uint8_t> saved(TWintabSession::kSaveSize);
  ASSERT_TRUE(r.session.Save(ctx, saved.data()));
  ASSERT_TRUE(r.session.Close(ctx));
  EXPECT_EQ(r.session.Find(ctx), nullptr);
  const uint64_t again = r.session.Restore(0x305, saved.data(), false);
  ASSERT_NE(again, 0u);
  const TWintabContext& c = *r.session.Find(again);
  EXPECT_EQ(c.QueueSize(), 50);
  EXPECT_EQ(c.Settings().f.lcOutExtY, -65521);
  EXPECT_FALSE(c.Enabled());
  saved[0] ^= 1;
  EXPECT_EQ(r.session.Restore(0x305, saved.data(), true), 0u);
}

TEST(WintabSession, AnotherDeviceCannotBeOpenedAndAWindowThatKeepsOpeningLosesItsOldestContext) {
  Rig r;
  LOGCONTEXTW lc = TWintabInfo::DefaultContext(false, Desktop{});
  lc.f.lcDevice = 1;
  EXPECT_EQ(r.session.Open(0x301, lc, true), 0u);
  lc.f.lcDevice = 0;
  const uint64_t other = r.session.Open(0x302, lc, true);
  const uint64_t first = r.session.Open(0x301, lc, true);
  for (int i = 2; i < TWintabSession::kMaxContexts; ++i) ASSERT_NE(r.session.Open(0x301, lc, true), 0u);
  EXPECT_EQ(r.session.OpenContexts(), 64u);
  r.windows.posted.clear();
  const uint64_t again = r.session.Open(0x301, lc, true);
  ASSERT_NE(again, 0u);
  EXPECT_EQ(r.session.OpenContexts(), 64u);
  EXPECT_EQ(r.session.Find(first), nullptr);
  EXPECT_NE(r.session.Find(other), nullptr);
  EXPECT_EQ(r.windows.Of(WT_DEFBASE + WT_CTXCLOSE), (std::vector<Posted>{{0x301, WT_DEFBASE + WT_CTXCLOSE, first, 0}}));
  // A window with no context to spare gets none.
  EXPECT_EQ(r.session.Open(0x303, lc, true), 0u);
}

TEST(WintabSession, AGtkStyleContextGetsItsHandleCursorAndRelativeButtonEdgesInEachPacket) {
  Rig r;
  // The system context, device extents flipped, buttons relative.
  LOGCONTEXTW lc = TWintabInfo::DefaultContext(true, Desktop{0, 0, 1920, 1080});
  lc.f.lcOptions |= CXO_MESSAGES | CXO_CSRMESSAGES;
  lc.f.lcPktData = PK_CONTEXT | PK_CURSOR | PK_BUTTONS | PK_X | PK_Y | PK_NORMAL_PRESSURE | PK_ORIENTATION;
  lc.f.lcPktMode = PK_BUTTONS;
  lc.f.lcMoveMask = lc.f.lcPktData;
  lc.f.lcBtnDnMask = lc.f.lcBtnUpMask = 0xFFFFFFFF;
  lc.f.lcOutOrgX = lc.f.lcOutOrgY = 0;
  lc.f.lcOutExtX = 65521;
  lc.f.lcOutExtY = -65521;
  const uint64_t ctx = r.session.Open(kDrawing, lc, true);
  r.ring.Write(test::RingWriter::Packet(0xC0, 3000, 4000, 0, 0, 45), 1);
  r.ring.Write(test::RingWriter::Packet(0xC1, 3010, 4000, 800, 0, 45), 2);
  r.ring.Write(test::RingWriter::Packet(0xC0, 3020, 4000, 0, 0, 45), 3);
  r.client.Drain();
  struct GtkPacket {
    uint64_t context;
    uint32_t cursor, buttons;
    int32_t x, y;
    uint32_t pressure;
    ORIENTATION orientation;
  };
  static_assert(sizeof(GtkPacket) == 40);
  GtkPacket got[3];
  ASSERT_EQ(r.session.Find(ctx)->PacketsGet(3, reinterpret_cast<uint8_t*>(got)), 3);
  EXPECT_EQ(got[0].context, ctx);
  EXPECT_EQ(got[0].cursor, 1u);
  EXPECT_EQ(got[0].buttons, TBN_NONE << 16);
  EXPECT_EQ(got[1].buttons, (TBN_DOWN << 16) | 0);  // button 0, the tip
  EXPECT_EQ(got[2].buttons, (TBN_UP << 16) | 0);
  EXPECT_EQ(got[1].x, 3010);
  EXPECT_EQ(got[1].y, 4000);
  EXPECT_EQ(got[1].pressure, 800u);
  EXPECT_EQ(got[1].orientation.orAzimuth, 900);  // leaning right by 45 degrees
  EXPECT_EQ(got[1].orientation.orAltitude, 450);
}

TEST(WintabSession, AtMostFourManagersAreOpenAtOnce) {
  Rig r;
  uint64_t m[4];
  for (uint64_t& h : m) {
    h = r.session.OpenManager();
    ASSERT_NE(h, 0u);
  }
  EXPECT_EQ(r.session.OpenManager(), 0u);
  EXPECT_EQ(r.session.Managers(), 4u);
  EXPECT_TRUE(r.session.CloseManager(m[1]));
  EXPECT_FALSE(r.session.CloseManager(m[1]));
  EXPECT_FALSE(r.session.IsManager(m[1]));
  EXPECT_TRUE(r.session.IsManager(m[2]));
  EXPECT_NE(r.session.OpenManager(), 0u);
  EXPECT_FALSE(r.session.CloseManager(0));
}

}  // namespace
}  // namespace pen::wintab
