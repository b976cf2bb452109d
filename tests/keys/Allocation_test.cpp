// The key path allocates nothing: tablet buttons, pen buttons, the repeat
// tick and a wheel action.
#include <gtest/gtest.h>

#include "keys/ButtonManager.h"
#include "keys/WheelFunc.h"
#include "support/CountingAllocator.h"
#include "support/FakeKeyboardLayout.h"
#include "support/MemoryFiles.h"

namespace pen::test {
namespace {

class CountingInput : public IInputInjector {
 public:
  long events = 0;
  void MouseEvent(uint32_t, int32_t, int32_t, uint32_t, uintptr_t) override { ++events; }
  void KeybdEvent(uint8_t, uint8_t, uint32_t, uintptr_t) override { ++events; }
};

class QuietTimer : public IWindowTimer {
 public:
  void SetOnTimer(Event<> h) override { tick = h; }
  void Start(uint32_t) override { running = true; }
  void Stop() override { running = false; }
  bool Running() const override { return running; }
  Event<> tick;
  bool running = false;
};

class NoVolume : public IVolumeControl {
 public:
  void VolumeUp() override {}
  void VolumeDown() override {}
  void ToggleMute() override {}
};

class NoSleep : public IClock {
 public:
  uint32_t TickCount() override { return 0; }
  void Sleep(uint32_t) override {}
  void ProcessMessagesFor(uint32_t) override {}
};

TEST(KeysAllocation, AKeyReportThroughTheButtonManagerNeverAllocates) {
  CountingInput input;
  FakeKeyboardLayout layout;
  NoVolume volume;
  TTracedLauncher launcher(nullptr, nullptr);
  MemoryFileStore store;
  MemoryDataFiles files{store};
  FixedFolders folders;
  QuietTimer timer;
  TButtonManager buttons{ButtonManagerPorts{{input, layout}, volume, launcher, files, folders, timer, nullptr}};
  buttons.SetModelCode("R711");
  buttons.LoadDefinitions();

  AllocationCounter counter;
  for (int i = 0; i < 2000; ++i) {
    // Every tablet key, both pen buttons and the volume soft keys in turn.
    const uint32_t mask = i % 2 ? (1u << (1 + (i / 2) % 14)) | (i % 10 == 1 ? 1u << 16 : 0u) : 0u;
    buttons.SetButtonState(mask);
    if (timer.running) timer.tick();
  }
  EXPECT_EQ(counter.Count(), 0);
  EXPECT_GT(input.events, 2000);
}

TEST(KeysAllocation, AWheelActionNeverAllocates) {
  CountingInput input;
  FakeKeyboardLayout layout;
  NoVolume volume;
  NoSleep clock;
  TWheelFunction wheel{WheelFunctionPorts{{input, layout}, volume, clock, nullptr}};
  AllocationCounter counter;
  for (int mode = 0; mode < 8; ++mode) {
    wheel.SetMode(mode);
    wheel.ExecuteStep(0xFF);
    wheel.ExecuteStep(0x01);
  }
  EXPECT_EQ(counter.Count(), 0);
  EXPECT_GT(input.events, 0);
}

}  // namespace
}  // namespace pen::test
