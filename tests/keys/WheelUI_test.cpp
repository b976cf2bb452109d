// The wheel overlay's rules on the fake clock: step merging, the long press,
// and what happens while the wheel settings window runs its own loop.
#include "keys/WheelUI.h"

#include <gtest/gtest.h>

#include <memory>

#include "KeysFakes.h"
#include "support/FakeKeyboardLayout.h"
#include "support/FakeTimers.h"
#include "support/MemoryFiles.h"

namespace pen::test {
namespace {

using Events = std::vector<std::string>;

// A wheel file with only `enabled` functions on, plus `extra` lines.
std::string WheelFile(std::initializer_list<int> enabled, const std::string& extra = "") {
  std::string text = "[EnableItem]\r\n";
  for (int i = 0; i < 8; ++i) {
    const bool on = std::find(enabled.begin(), enabled.end(), i) != enabled.end();
    text += std::string(kWheelFunctionNames[static_cast<size_t>(i)]) + "Enabled=" + (on ? "1" : "0") + "\r\n";
  }
  return text + extra;
}

const char kZoomKeys[] =
    "[KeyDefine]\r\nZoomRLeft.extraKey=1\r\nZoomRLeft.MainKey=189\r\nZoomRRight.extraKey=1\r\nZoomRRight.MainKey=187\r\n";

class Wheel : public ::testing::Test {
 protected:
  FakeClock clock;
  FakeTimerQueue timers{clock};
  FakeTimer stepTimer{timers};
  FakeTimer holdTimer{timers};
  RecordingInput input;
  FakeKeyboardLayout layout;
  FakeVolume volume{input};
  NotingClock workerClock{input};
  MemoryFileStore store;
  MemoryIniFileSystem ini{store};
  FixedFolders folders;
  FakeFaces faces;
  FakeNotice notice;
  FakeWheelWindow settingsWindow;
  FakeCustomKeyWindow& customKey = settingsWindow.customKey;
  FakeForeground foreground;
  std::unique_ptr<TWheelUI> ui;

  void Create(const std::string& file = "") {
    if (!file.empty()) store.files["/prog/TabletWheel.ini"] = file;
    ui = std::make_unique<TWheelUI>(WheelUIPorts{ini, folders, stepTimer, holdTimer, clock, faces, notice,
                                                 settingsWindow, foreground,
                                                 WheelFunctionPorts{{input, layout}, volume, workerClock, nullptr}});
  }
  void Step(int v) { ui->HandleMessage(2, static_cast<uint8_t>(v)); }
  void Down() { ui->HandleMessage(1, 1); }
  void Up() { ui->HandleMessage(1, 0); }
  void ShortPress() {
    Down();
    Run(50);
    Up();
  }
  void Run(uint32_t ms) {
    timers.Run(ms);
    ASSERT_TRUE(ui->Function().WaitIdle(std::chrono::seconds(5)));
  }
  Events Actions() {
    EXPECT_TRUE(ui->Function().WaitIdle(std::chrono::seconds(5)));
    return input.Take();
  }
};

TEST_F(Wheel, StepsWithinSixtyMillisecondsMergeIntoOneActionAndALaterStepActsAgain) {
  Create(WheelFile({0}));
  for (int i = 0; i < 5; ++i) {
    Step(1);
    Run(10);
  }
  Run(10);  // 60 ms after the first
  EXPECT_EQ(Actions(), (Events{"wheel -121"}));
  EXPECT_EQ(notice.Count("show 2"), 1u);
  Run(10);
  Step(1);  // 70 ms after the first
  Run(59);
  EXPECT_EQ(Actions(), Events{});
  Run(1);
  EXPECT_EQ(Actions(), (Events{"wheel -121"}));
  EXPECT_EQ(notice.Count("show 2"), 2u);
}

TEST_F(Wheel, TheLastValueOfAMergedRunDecidesTheDirection) {
  Create(WheelFile({0}));
  Step(1);
  Run(10);
  Step(-2);
  Run(60);
  EXPECT_EQ(Actions(), (Events{"wheel +120"}));
  EXPECT_EQ(notice.calls, (std::vector<std::string>{"font 12", "icon 0", "text MouseWheel", "show 1"}));
}

TEST_F(Wheel, AStepOfZeroIsIgnored) {
  Create();
  Step(0);
  EXPECT_FALSE(stepTimer.Running());
  Step(256);  // only the low byte counts
  EXPECT_FALSE(stepTimer.Running());
}

TEST_F(Wheel, ANewInstallationWritesItsFileAndTheFirstStepTurnsTheVolume) {
  Create();
  EXPECT_EQ(store.files.count("/prog/TabletWheel.ini"), 1u);
  Step(-1);
  Run(60);
  EXPECT_EQ(Actions(), (Events{"volume down"}));
}

TEST_F(Wheel, TheFirstStepAlreadyUsesTheUsersKeys) {
  Create(WheelFile({2}, "[KeyDefine]\r\nZoomRLeft.extraKey=4\r\nZoomRLeft.MainKey=65\r\n"));
  Step(-1);
  Run(60);
  EXPECT_EQ(Actions(), (Events{"down 16/42", "down 65/30", "sleep 100", "up 65/30", "up 16/42"}));
}

TEST_F(Wheel, WithDisableAllSetStepsDoNothingAndAShortPressShowsDisableAll) {
  Create(WheelFile({0, 4}));
  Step(1);
  Run(100);
  EXPECT_EQ(Actions(), Events{});
  EXPECT_EQ(notice.Count("show 2"), 0u);
  ShortPress();
  EXPECT_EQ(ui->Data().CurrentFunction, 4);
  EXPECT_EQ(notice.Count("text DisableAll"), 1u);
  EXPECT_EQ(notice.Count("icon 4"), 1u);
  EXPECT_EQ(notice.Count("show 0"), 1u);
}

TEST_F(Wheel, WithHideWheelStepsActUnseenButAShortPressIsShown) {
  Create(WheelFile({0, 3}, "HideWheel=1\r\n"));  // HideWheel belongs to [EnableItem]
  ASSERT_EQ(ui->Data().Settings()[wheel_field::kHideWheel], 1);
  ui->Data().CurrentFunction = 0;
  ui->Function().SetMode(0);
  Step(1);
  Run(60);
  EXPECT_EQ(Actions(), (Events{"wheel -121"}));
  EXPECT_EQ(notice.Count("show 2"), 0u);
  ShortPress();
  EXPECT_EQ(notice.Count("show 0"), 1u);
  EXPECT_EQ(ui->Data().CurrentFunction, 3);
}

TEST_F(Wheel, AShortPressSelectsTheNextEnabledFunctionAndPreparesIt) {
  Create();  // MouseWheel, RotateCanvas, UndoRedo, Volume; Volume current
  ShortPress();
  EXPECT_EQ(ui->Data().CurrentFunction, 0);
  EXPECT_EQ(notice.calls, (std::vector<std::string>{"font 12", "icon 0", "text MouseWheel", "show 0"}));
  EXPECT_EQ(settingsWindow.shownFunctions, std::vector<int>{0});
  EXPECT_EQ(settingsWindow.opened, 0);
  Step(-1);
  Run(60);
  EXPECT_EQ(Actions(), (Events{"wheel +120"}));
  ShortPress();
  EXPECT_EQ(ui->Data().CurrentFunction, 3);
}

TEST_F(Wheel, HoldingFourHundredMillisecondsOpensTheSettingsWhichThenTakeTheWheelUntilAShortPressClosesThem) {
  Create(WheelFile({0, 7}, kZoomKeys));
  uint64_t openedAt = 0;
  settingsWindow.whileOpen = [&](TWheelData& data) {
    openedAt = timers.Now();
    Up();  // the long press ends: the window stays
    EXPECT_TRUE(settingsWindow.showing);
    Step(-1);
    Run(60);
    EXPECT_EQ(input.Take(), Events{});
    EXPECT_EQ(settingsWindow.scrolled, std::vector<uint8_t>{0xFF});
    // The user switches to Zoom in the window.
    data.Settings()[wheel_field::kZoomEnabled] = 1;
    data.RefreshEnabledList();
    data.CurrentFunction = 2;
    foreground.current = 0x999;  // the window took the foreground
    ShortPress();
  };
  Down();
  Run(399);
  EXPECT_EQ(settingsWindow.opened, 0);
  Run(1);
  EXPECT_EQ(openedAt, 400u);
  EXPECT_EQ(settingsWindow.opened, 1);
  EXPECT_EQ(settingsWindow.closes, 1);
  EXPECT_EQ(foreground.set, std::vector<uintptr_t>{0x777});
  EXPECT_FALSE(holdTimer.Running());
  Step(-1);
  Run(60);
  EXPECT_EQ(Actions(), (Events{"down 17/29", "down 189/12", "sleep 100", "up 189/12", "up 17/29"}));
}

TEST_F(Wheel, AShortPressWhileTheCustomKeyWindowIsOpenClosesOnlyThatWindow) {
  Create();
  settingsWindow.whileOpen = [&](TWheelData&) {
    Up();  // the long press that opened the window ends
    customKey.showing = true;
    ShortPress();
    EXPECT_EQ(customKey.closes, 1);
    EXPECT_TRUE(settingsWindow.showing);
    EXPECT_EQ(settingsWindow.closes, 0);
    ShortPress();
    EXPECT_EQ(settingsWindow.closes, 1);
  };
  Down();
  Run(400);
  EXPECT_EQ(settingsWindow.opened, 1);
  EXPECT_EQ(ui->Data().CurrentFunction, 7);  // nothing selected meanwhile
  EXPECT_EQ(notice.Count("show 0"), 0u);
}

TEST_F(Wheel, AFunctionDisabledInTheSettingsIsSkippedAndTheStepActsWithTheNextOne) {
  Create(WheelFile({0, 7}));
  settingsWindow.whileOpen = [&](TWheelData& data) {
    data.Settings()[wheel_field::kVolumeEnabled] = 0;
    data.RefreshEnabledList();
  };
  Up();  // a release without a recorded press counts as long
  EXPECT_EQ(settingsWindow.opened, 1);
  Step(-1);
  Run(60);
  EXPECT_EQ(Actions(), (Events{"wheel +120"}));
  EXPECT_EQ(ui->Data().CurrentFunction, 0);
}

TEST_F(Wheel, ARunningFadeIsFinishedBeforeTheSettingsOpenButANeverEndingOneDoesNotBlock) {
  Create();
  notice.fadeStepsLeft = 2;
  ui->OpenWheelSettings();
  EXPECT_EQ(notice.Count("fade"), 2u);
  EXPECT_EQ(settingsWindow.opened, 1);
  notice.fadeStepsLeft = -1;  // always fading
  ui->OpenWheelSettings();
  EXPECT_EQ(settingsWindow.opened, 2);
}

TEST_F(Wheel, ANewLanguageReloadsTheNamesAndShowsTheCurrentFunctionAgain) {
  Create();
  ui->RefreshFaces();
  EXPECT_EQ(faces.reloads, 1);
  EXPECT_EQ(settingsWindow.shownFunctions, std::vector<int>{7});
}

// The host's window as the overlay posts to it: the messages wait in the
// queue until the test's top-level loop hands them over.
class QueuePoster : public IWindowPoster {
 public:
  struct Message {
    uint32_t msg;
    uint64_t wparam;
    int64_t lparam;
  };
  std::vector<Message> queue;
  void Post(uint32_t msg, uint64_t wparam, int64_t lparam) override { queue.push_back({msg, wparam, lparam}); }
};

class WheelInLoops : public Wheel {
 protected:
  TModalGate gate;
  QueuePoster poster;
  void CreateGated(const std::string& file = "") {
    if (!file.empty()) store.files["/prog/TabletWheel.ini"] = file;
    ui = std::make_unique<TWheelUI>(WheelUIPorts{ini, folders, stepTimer, holdTimer, clock, faces, notice,
                                                 settingsWindow, foreground,
                                                 WheelFunctionPorts{{input, layout}, volume, workerClock, nullptr},
                                                 &gate, &poster});
  }
  // The top-level loop: hands the queued messages to the overlay.
  void TopLevelLoop() {
    auto q = std::move(poster.queue);
    poster.queue.clear();
    for (const auto& m : q) {
      ASSERT_EQ(m.msg, 1524u);
      ui->HandleMessage(m.wparam, m.lparam);
    }
  }
};

TEST_F(WheelInLoops, ALongPressInsideAWaitOpensTheSettingsOnlyFromTheTopLevelLoopAfterTheWait) {
  CreateGated();
  {
    const TModalGate::TScope wait(gate, TModalGate::Loop::kWait);  // e.g. the show delay
    Down();
    Run(500);  // the hold timer ticks inside the wait
    Up();      // and the release too: one request all the same
    EXPECT_EQ(settingsWindow.opened, 0);
    EXPECT_TRUE(poster.queue.empty());
  }
  ASSERT_EQ(poster.queue.size(), 1u);
  EXPECT_EQ(poster.queue[0].wparam, 3u);
  EXPECT_EQ(settingsWindow.opened, 0);
  TopLevelLoop();
  EXPECT_EQ(settingsWindow.opened, 1);
}

TEST_F(WheelInLoops, ARequestPostedAgainButTakenInsideAnotherWaitWaitsOnceMore) {
  CreateGated();
  {
    const TModalGate::TScope wait(gate, TModalGate::Loop::kWait);
    Up();  // a release without a press: long
  }
  {
    const TModalGate::TScope retry(gate, TModalGate::Loop::kWait);  // e.g. the mode retry
    TopLevelLoop();  // the repost is dispatched inside this wait
    EXPECT_EQ(settingsWindow.opened, 0);
  }
  TopLevelLoop();
  EXPECT_EQ(settingsWindow.opened, 1);
  EXPECT_TRUE(poster.queue.empty());
}

TEST_F(WheelInLoops, WhileTheSettingsRunTheirLoopStepsAndPostedMessagesReachThemAndNothingOpensTwice) {
  CreateGated(WheelFile({0, 7}));
  settingsWindow.whileOpen = [&](TWheelData&) {
    const TModalGate::TScope modal(gate, TModalGate::Loop::kModal);
    Up();
    ui->HandleMessage(3, 0);  // a request posted before the window opened
    Down();
    Run(500);  // another long press inside the window
    Up();
    EXPECT_EQ(settingsWindow.opened, 1);
    Step(1);
    Run(60);
    EXPECT_EQ(settingsWindow.scrolled, std::vector<uint8_t>{1});
    EXPECT_EQ(input.Take(), Events{});
    ShortPress();
  };
  Down();
  Run(400);
  EXPECT_EQ(settingsWindow.opened, 1);
  EXPECT_EQ(settingsWindow.closes, 1);
  EXPECT_TRUE(poster.queue.empty());  // the window was showing: nothing kept for later
}

TEST_F(Wheel, TheSettingsCountAsShowingUntilTheirModalRunHasReturnedTheClosingAnimationIncluded) {
  Create(WheelFile({0, 7}));
  settingsWindow.whileOpen = [&](TWheelData& data) {
    Up();
    ShortPress();                    // the close starts its animation
    ASSERT_FALSE(settingsWindow.showing);  // the window is already hidden
    data.CurrentFunction = 0;        // the commit is still to come
    Step(-1);
    Run(60);
    EXPECT_EQ(input.Take(), Events{});
    EXPECT_EQ(settingsWindow.scrolled, std::vector<uint8_t>{0xFF});
    ShortPress();  // a second close: still the settings window's
    EXPECT_EQ(settingsWindow.closes, 2);
    EXPECT_EQ(ui->Data().CurrentFunction, 0);
  };
  Down();
  Run(400);
  EXPECT_EQ(notice.Count("show 0"), 0u);
  Step(-1);
  Run(60);
  EXPECT_EQ(Actions(), (Events{"wheel +120"}));
}

}  // namespace
}  // namespace pen::test
