// The road of every pen packet through the library (the ring read under the
// mutex, the packet made and queued, the program taking it) allocates
// nothing: the queue's storage is made when its size is set.
#include <gtest/gtest.h>

#include "support/AllocationCounter.h"
#include "support/FakeChannelClient.h"
#include "support/FakeChannelPorts.h"
#include "wintab/WintabInfo.h"
#include "wintab/WintabSession.h"

namespace pen::wintab {
namespace {

class CountingWindows : public IWintabWindows {
 public:
  long posts = 0;
  void Post(uint64_t, uint32_t, uint64_t, int64_t) override { ++posts; }
};

TEST(WintabAllocation, ThePacketRoadNeverAllocatesNotEvenWhenTheQueueOverflowsOrThePenLeaves) {
  test::FakeSharedBlockObjects block;
  test::FakeChannelService service;
  test::RingWriter ring{block.bytes};
  CountingWindows windows;
  TWintabSession session{windows, 8};
  TChannelClient client{block, service, session, 0x900, 7};
  service.window = 0x77;
  client.Poll();
  ring.Target(7);
  LOGCONTEXTW lc = TWintabInfo::DefaultContext(true, Desktop{0, 0, 1920, 1080});
  lc.f.lcOptions |= CXO_MESSAGES | CXO_CSRMESSAGES;
  lc.f.lcPktMode = PK_X | PK_BUTTONS;
  const uint64_t ctx = session.Open(0x300, lc, true);
  ASSERT_TRUE(session.Find(ctx)->SetQueueSize(16));
  uint8_t out[64 * 16];

  test::AllocationCounter counter;
  for (int i = 0; i < 3000; ++i) {
    const uint8_t status = i % 200 == 199 ? 0x80 : static_cast<uint8_t>(0xC0 | (i / 7 % 2));
    ring.Write(test::RingWriter::Packet(status, static_cast<uint16_t>(i * 13), 500, static_cast<uint16_t>(i % 2048),
                                        static_cast<int8_t>(i % 60), static_cast<int8_t>(-(i % 40))),
               static_cast<uint32_t>(i));
    if (i % 5 == 0) client.Drain();
    // The program reads now and then; between, the queue overflows.
    if (i % 40 == 0) session.Find(ctx)->PacketsGet(16, out);
  }
  EXPECT_EQ(counter.Count(), 0);
  EXPECT_GT(windows.posts, 1000);
}

}  // namespace
}  // namespace pen::wintab
