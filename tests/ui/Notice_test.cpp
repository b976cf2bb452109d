// The notice's timing on the fake clock: up for a second after the last
// show, then the fade, which a show cancels; the marker's ring.
#include "ui/Notice.h"

#include <gtest/gtest.h>

#include "support/FakeTimers.h"

namespace pen::test {
namespace {

class RecordingNoticeView : public INoticeView {
 public:
  std::vector<std::string> calls;
  std::vector<int> alphas;
  void Place() override { calls.push_back("place"); }
  void Draw() override { calls.push_back("draw"); }
  void Show() override { calls.push_back("show"); }
  void Hide() override { calls.push_back("hide"); }
  void SetAlpha(uint8_t a) override { alphas.push_back(a); }
};

class Notice : public ::testing::Test {
 protected:
  FakeClock clock;
  FakeTimerQueue timers{clock};
  FakeTimer hideTimer{timers};
  RecordingNoticeView view;
  TFormNotice notice{NoticePorts{hideTimer, clock, view}};
};

TEST_F(Notice, TwoStepsWithinASecondMoveTheMarkerTwiceAndItHidesASecondAfterTheLastFadingThrough200_145_90_35) {
  notice.ShowNotice(2);
  timers.Run(600);
  notice.ShowNotice(2);
  EXPECT_EQ(notice.RingPosition(), 2);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"place", "draw", "show", "draw"}));
  timers.Run(999);
  EXPECT_TRUE(notice.Visible());
  timers.Run(1);
  EXPECT_FALSE(notice.Visible());
  EXPECT_EQ(view.alphas, (std::vector<int>{200, 145, 90, 35}));
  EXPECT_EQ(view.calls.back(), "hide");
  EXPECT_EQ(clock.pumped, 60u);  // three waits of 20 ms
  EXPECT_FALSE(hideTimer.running);
}

TEST_F(Notice, AShowDuringTheFadeRestoresFullOpacityAndKeepsItUpAnotherSecond) {
  notice.ShowNotice(0);
  int pumps = 0;
  clock.onProcessMessages = [&] {
    if (++pumps == 3) {  // in the second fade step: a wheel step arrives
      EXPECT_TRUE(notice.Fading());
      notice.ShowNotice(1);
    }
  };
  timers.Run(1000);
  EXPECT_FALSE(notice.Fading());
  EXPECT_TRUE(notice.Visible());
  EXPECT_EQ(notice.Alpha(), 200);
  EXPECT_EQ(view.alphas, (std::vector<int>{200, 145, 90, 200}));
  EXPECT_EQ(notice.RingPosition(), 15);  // direction 1 from place 0
  clock.onProcessMessages = nullptr;
  timers.Run(999);
  EXPECT_TRUE(notice.Visible());
  timers.Run(1);
  EXPECT_FALSE(notice.Visible());
}

TEST_F(Notice, TheMarkerWrapsBothWaysAndDirectionZeroKeepsIt) {
  notice.ShowNotice(1);
  EXPECT_EQ(notice.RingPosition(), 15);
  notice.ShowNotice(2);
  notice.ShowNotice(2);
  EXPECT_EQ(notice.RingPosition(), 1);
  notice.ShowNotice(0);
  notice.ShowNotice(7);
  EXPECT_EQ(notice.RingPosition(), 1);
}

TEST_F(Notice, ItSitsAtTheBottomCentreAndItsMarkerAndDotsOnTheRing) {
  EXPECT_EQ(TFormNotice::PlaceOn(1920, 1080), (std::array<int, 2>{850, 810}));
  EXPECT_EQ(TFormNotice::MarkerAt(0), (std::array<int, 2>{98, 8}));
  EXPECT_EQ(TFormNotice::MarkerAt(4), (std::array<int, 2>{188, 98}));
  EXPECT_EQ(TFormNotice::DotAt(12), (std::array<int, 2>{19, 109}));
  EXPECT_EQ(notice.NameFontSize(), 16);
}

}  // namespace
}  // namespace pen::test
