// One wheel step, one action, on the worker thread.
#include "keys/WheelFunc.h"

#include <gtest/gtest.h>

#include "KeysFakes.h"
#include "support/FakeKeyboardLayout.h"

namespace pen::test {
namespace {

using Events = std::vector<std::string>;
constexpr uint8_t kLeft = 0xFF;   // -1
constexpr uint8_t kRight = 0x03;  // +3: the size does not matter

class WheelActions : public ::testing::Test {
 protected:
  RecordingInput input;
  FakeKeyboardLayout layout;
  FakeVolume volume{input};
  NotingClock clock{input};
  TWheelFunction wheel{WheelFunctionPorts{{input, layout}, volume, clock, nullptr}};
  WheelSettings settings = kDefaultWheelSettings;

  Events Step(int mode, uint8_t step) {
    wheel.SetWheelSettings(settings);
    wheel.SetMode(mode);
    wheel.ExecuteStep(step);
    return input.Take();
  }
};

TEST_F(WheelActions, ZoomSendsCtrlMinusToTheLeftAndCtrlEqualsToTheRightHeldForAHundredMilliseconds) {
  EXPECT_EQ(Step(2, kLeft), (Events{"down 17/29", "down 189/12", "sleep 100", "up 189/12", "up 17/29"}));
  EXPECT_EQ(Step(2, kRight), (Events{"down 17/29", "down 187/13", "sleep 100", "up 187/13", "up 17/29"}));
}

TEST_F(WheelActions, LineWidthAndUserKeysUseTheirOwnPairs) {
  EXPECT_EQ(Step(1, kLeft), (Events{"down 219/26", "sleep 100", "up 219/26"}));
  settings[wheel_field::kUserKeyRRight] = 4;  // Shift
  settings[wheel_field::kUserKeyRRight + 1] = 112;
  EXPECT_EQ(Step(5, kRight), (Events{"down 16/42", "down 112/59", "sleep 100", "up 112/59", "up 16/42"}));
}

TEST_F(WheelActions, FunctionsWithoutKeysSendNothing) {
  settings[wheel_field::kZoomRLeft] = settings[wheel_field::kZoomRLeft + 1] = 0;
  EXPECT_EQ(Step(2, kLeft), (Events{"sleep 100"}));
}

TEST_F(WheelActions, RotateCanvasUsesThePairOfItsProgramAndNoneForAnUnknownType) {
  const std::vector<std::pair<uint8_t, Events>> pairs = {
      {0, {"down 46/83", "down 35/79"}},
      {1, {"down 57/10", "down 48/11"}},
      {2, {"down 37/75", "down 39/77"}},
      {3, {"down 189/12", "down 222/40"}},
  };
  for (const auto& [type, downs] : pairs) {
    settings[wheel_field::kRotateCanvasType] = type;
    EXPECT_EQ(Step(3, kLeft).front(), downs[0]) << int{type};
    EXPECT_EQ(Step(3, kRight).front(), downs[1]) << int{type};
  }
  settings[wheel_field::kRotateCanvasType] = 7;
  EXPECT_EQ(Step(3, kLeft), Events{});
  EXPECT_FALSE(wheel.Active());
}

TEST_F(WheelActions, UndoRedoPairsAndAnUnknownTypeSendsNothingInsteadOfTheKeysPreparedBefore) {
  EXPECT_EQ(Step(6, kLeft), (Events{"down 17/29", "down 90/44", "sleep 100", "up 90/44", "up 17/29"}));
  EXPECT_EQ(Step(6, kRight).at(1), "down 89/21");
  settings[wheel_field::kUndoRedoType] = 1;
  EXPECT_EQ(Step(6, kLeft), (Events{"down 17/29", "down 18/56", "down 90/44", "sleep 100", "up 90/44", "up 17/29",
                                    "up 18/56"}));
  EXPECT_EQ(Step(6, kRight), (Events{"down 17/29", "down 16/42", "down 90/44", "sleep 100", "up 90/44", "up 17/29",
                                     "up 16/42"}));
  Step(2, kLeft);  // Zoom prepared
  settings[wheel_field::kUndoRedoType] = 5;
  EXPECT_EQ(Step(6, kLeft), Events{});
}

TEST_F(WheelActions, MouseWheelScrollsUpForLeftAndVolumeTurnsDownForLeft) {
  EXPECT_EQ(Step(0, kLeft), (Events{"wheel +120"}));
  EXPECT_EQ(Step(0, kRight), (Events{"wheel -121"}));
  EXPECT_EQ(Step(7, kLeft), (Events{"volume down"}));
  EXPECT_EQ(Step(7, kRight), (Events{"volume up"}));
  EXPECT_EQ(Step(4, kLeft), Events{});
}

TEST_F(WheelActions, BeforeAnyModeTheWheelScrolls) {
  wheel.ExecuteStep(kRight);
  EXPECT_EQ(input.Take(), (Events{"wheel -121"}));
}

TEST_F(WheelActions, TheWorkerRunsEachStepItIsHandedWhenIdle) {
  wheel.SetMode(2);
  wheel.RunStep(kLeft);
  ASSERT_TRUE(wheel.WaitIdle(std::chrono::seconds(5)));
  wheel.RunStep(kRight);
  ASSERT_TRUE(wheel.WaitIdle(std::chrono::seconds(5)));
  const Events e = input.Take();
  ASSERT_EQ(e.size(), 10u);
  EXPECT_EQ(e[1], "down 189/12");
  EXPECT_EQ(e[6], "down 187/13");
}

// The worker's key hold waits until the test lets it go.
class GateClock : public IClock {
 public:
  uint32_t TickCount() override { return 0; }
  void ProcessMessagesFor(uint32_t) override {}
  void Sleep(uint32_t) override {
    std::unique_lock<std::mutex> lock(m);
    waiting = true;
    cv.notify_all();
    cv.wait(lock, [&] { return open; });
  }
  void WaitUntilHeld() {
    std::unique_lock<std::mutex> lock(m);
    cv.wait(lock, [&] { return waiting; });
  }
  void Open() {
    std::lock_guard<std::mutex> lock(m);
    open = true;
    cv.notify_all();
  }
  std::mutex m;
  std::condition_variable cv;
  bool waiting = false, open = false;
};

TEST(WheelWorker, AStepHandedOverWhileTheWorkerIsBusyIsLost) {
  RecordingInput input;
  FakeKeyboardLayout layout;
  FakeVolume volume{input};
  GateClock gate;
  TWheelFunction wheel{WheelFunctionPorts{{input, layout}, volume, gate, nullptr}};
  wheel.SetMode(2);
  wheel.RunStep(kLeft);
  gate.WaitUntilHeld();
  EXPECT_TRUE(wheel.Busy());
  wheel.RunStep(kRight);  // lost
  gate.Open();
  ASSERT_TRUE(wheel.WaitIdle(std::chrono::seconds(5)));
  EXPECT_EQ(input.Take(), (Events{"down 17/29", "down 189/12", "up 189/12", "up 17/29"}));
  wheel.RunStep(kRight);
  ASSERT_TRUE(wheel.WaitIdle(std::chrono::seconds(5)));
  EXPECT_EQ(input.Take().at(1), "down 187/13");
}

}  // namespace
}  // namespace pen::test
