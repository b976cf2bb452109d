#include "pipeline/HookSysEvent.h"

#include <gtest/gtest.h>

#include "support/FakeChannelPorts.h"

namespace pen::test {
namespace {

using Sent = FakeDesktopWindows::Sent;
constexpr uintptr_t kService = 0x1234;

class Hook : public ::testing::Test {
 protected:
  FakeWinEventSource events;
  FakeDesktopWindows windows;
  // The foreground at creation.
  Hook() { windows.foreground = 0x10; }
  std::vector<Sent> Commands() const { return windows.To(kService); }
};

TEST_F(Hook, ItWatchesTheSystemRangeFromForegroundToMinimiseEndAndRecordsTheForegroundAtOnce) {
  TMyHook hook(events, windows);
  EXPECT_TRUE(hook.Installed());
  EXPECT_EQ(events.first, 3u);
  EXPECT_EQ(events.last, 23u);
  EXPECT_EQ(hook.RecordedForeground(), 0x10u);
  EXPECT_FALSE(hook.ForegroundChanged());
  hook.Unhook();
  EXPECT_FALSE(events.installed);
}

TEST_F(Hook, SwitchingBetweenTwoWindowsPostsCommand11OncePerSwitchWithTheNewWindow) {
  TMyHook hook(events, windows);
  hook.SetCommandTarget(kService);
  windows.foreground = 0x20;
  events.Raise(3);
  events.Raise(3);  // again while 0x20 keeps the foreground
  windows.foreground = 0x10;
  events.Raise(3);
  EXPECT_EQ(Commands(), (std::vector<Sent>{{true, kService, 1125, 0x20, 11}, {true, kService, 1125, 0x10, 11}}));
  EXPECT_EQ(hook.RecordedForeground(), 0x10u);
  EXPECT_EQ(hook.RecordedPrevious(), 0x20u);
  EXPECT_TRUE(hook.TakeForegroundChanged());
  EXPECT_FALSE(hook.TakeForegroundChanged());
}

TEST_F(Hook, CaptureStartCountsAsAForegroundEventAndOtherEventsAreIgnored) {
  TMyHook hook(events, windows);
  hook.SetCommandTarget(kService);
  windows.foreground = 0x30;
  for (uint32_t e : {4u, 9u, 10u, 22u}) events.Raise(e);
  EXPECT_TRUE(Commands().empty());
  EXPECT_FALSE(hook.ForegroundChanged());
  events.Raise(8);
  EXPECT_EQ(Commands(), (std::vector<Sent>{{true, kService, 1125, 0x30, 11}}));
}

TEST_F(Hook, RestoringAMinimisedWindowSetsTheFlagAndPostsNothing) {
  TMyHook hook(events, windows);
  hook.SetCommandTarget(kService);
  events.Raise(23);
  EXPECT_TRUE(hook.ForegroundChanged());
  EXPECT_EQ(hook.RecordedForeground(), 0x10u);
  EXPECT_TRUE(windows.sent.empty());
}

TEST_F(Hook, ChangesBeforeTheServiceWindowIsKnownAreRecordedWithoutPosting) {
  TMyHook hook(events, windows);
  windows.foreground = 0x20;
  events.Raise(3);
  EXPECT_TRUE(windows.sent.empty());
  EXPECT_EQ(hook.RecordedForeground(), 0x20u);
  EXPECT_EQ(hook.RecordedPrevious(), 0x10u);
  EXPECT_TRUE(hook.ForegroundChanged());
}

TEST_F(Hook, ARefusedHookLeavesTheWatchQuiet) {
  events.refuse = true;
  TMyHook hook(events, windows);
  EXPECT_FALSE(hook.Installed());
  EXPECT_EQ(hook.RecordedForeground(), 0x10u);
}

}  // namespace
}  // namespace pen::test
