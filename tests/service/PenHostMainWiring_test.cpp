// The host wired to the real device link, virtual tablet, pointer emulation
// and smoothing filter; only the desktop and the later subsystems are fakes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pipeline/DemoSession.h"
#include "pipeline/SimMouse.h"
#include "pipeline/UsbComm.h"
#include "pipeline/VirtualTablet.h"
#include "service/UsbCommLink.h"
#include "support/FakePadLink.h"
#include "support/HostRig.h"

namespace pen::test {
namespace {

class ImmediateMainThread : public IMainThread {
 public:
  void Invoke(Event<> work) override { work(); }
  void WaitServing(const std::atomic<bool>&) override {}
};

struct MouseLog : IMouseInput {
  int downs = 0, ups = 0, moves = 0;
  int32_t lastX = -1, lastY = -1;
  void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t, uintptr_t) override {
    if (flags & mouse_flags::kMove) {
      ++moves;
      lastX = dx;
      lastY = dy;
    }
    downs += (flags & mouse_flags::kLeftDown) != 0;
    ups += (flags & mouse_flags::kLeftUp) != 0;
  }
};

struct OneScreen : IDisplayInfo {
  DisplayGeometry Read() override { return {1280, 1024, 0, 0, 1280, 1024}; }
};

struct Beeps : IBeeper {
  int count = 0;
  void Beep() override { ++count; }
};

struct TraceLines : IHostTrace {
  std::vector<std::string> lines;
  void Line(const char* t) override { lines.emplace_back(t); }
  size_t Count(const std::string& part) const {
    size_t n = 0;
    for (const auto& l : lines) n += l.find(part) != std::string::npos;
    return n;
  }
};

class Wiring : public ::testing::Test, protected HostRig<FakeClock> {
 protected:
  ImmediateMainThread mainThread;
  TVirtualTablet tablet{clock, mainThread};
  FakePadLink padLink;
  Beeps beeper;
  TraceLines trace;
  TXYZFifo fifo{clock};
  MouseLog mouse;
  OneScreen screen;
  TSimMouse simMouse{fifo, mouse, screen};
  std::unique_ptr<TUsbComm> usb;
  std::unique_ptr<TUsbCommLink> link;
  std::unique_ptr<TPenHostMain> host;

  void Run(const TTabletRecording& rec) {
    tablet.Load(rec);
    usb = std::make_unique<TUsbComm>(tablet, &padLink, clock, beeper);
    link = std::make_unique<TUsbCommLink>(*usb, &trace);
    host = std::make_unique<TPenHostMain>(
        Parts({.device = link.get(), .pointer = &simMouse, .smoothing = &fifo, .trace = &trace}));
    host->Start();
    host->LoadSetting();
    while (tablet.HasNextStep()) {
      clock.Advance(tablet.NextStepDelay());
      tablet.RunNextStep();
    }
  }

  std::vector<std::vector<uint8_t>> ModeReports() const {
    std::vector<std::vector<uint8_t>> out;
    for (const auto& f : tablet.FeatureReports()) {
      if (f.bytes.size() == 8 && f.bytes[1] <= 3 && f.bytes[1] != 2) out.push_back(f.bytes);
    }
    return out;
  }
};

TEST_F(Wiring, PlugUnplugPlugConnectsTwiceDisconnectsOnceAndResendsTheMode) {
  TTabletRecording rec;
  rec.identity.version = 0x2201;
  rec.identity.product = "[R755]Pen Tablet";
  rec.startUnplugged = true;
  rec.AddPlug(100);
  rec.AddUnplug(1000);
  rec.AddPlug(1000);
  Run(rec);
  EXPECT_EQ(trace.Count("tablet connected: model R755, firmware 2201, capability 01"), 2u);
  EXPECT_EQ(trace.Count("tablet disconnected"), 1u);
  const std::string key = "key " + std::to_string(usb->KeyUsage) + "/" + std::to_string(usb->KeyModifiers);
  EXPECT_EQ(buttons.calls,
            (std::vector<std::string>{key, "model R755", "load", "release", key, "model R755", "load"}));
  // Each connect: the mode for ink mode 1, then again with the settings'
  // area. Only the very first goes out before any area was known.
  const auto modes = ModeReports();
  ASSERT_EQ(modes.size(), 4u);
  const std::vector<uint8_t> whole{8, 3, 0x00, 0xFF, 0xF0, 0x00, 0xFF, 0xF0};
  EXPECT_EQ(modes[0], (std::vector<uint8_t>{8, 3, 0, 0, 0, 0, 0, 0}));
  for (size_t i = 1; i < modes.size(); ++i) EXPECT_EQ(modes[i], whole) << i;
  EXPECT_EQ(tray.index, 0);
  // The pacing holds across the whole session.
  const auto all = tablet.FeatureReports();
  for (size_t i = 1; i < all.size(); ++i) EXPECT_GE(all[i].tick - all[i - 1].tick, 300u) << i;
  EXPECT_EQ(beeper.count, 0);
}

TEST_F(Wiring, TheDemonstrationStrokeClicksOnceAndPublishesEveryReport) {
  Run(MakeDemoSession());
  EXPECT_EQ(mouse.downs, 1);
  EXPECT_EQ(mouse.ups, 1);
  EXPECT_GT(mouse.moves, 100);
  EXPECT_GE(channel.published.size(), 150u);
  // Key 1 arrives on interface B, key 2 on interface A: mask bits 3 and 4.
  bool key1 = false, key2 = false;
  for (uint32_t m : buttons.states) {
    key1 |= (m & (1u << 3)) != 0;
    key2 |= (m & (1u << 4)) != 0;
  }
  EXPECT_TRUE(key1);
  EXPECT_TRUE(key2);
  EXPECT_EQ(buttons.states.back(), 0u);
}

TEST_F(Wiring, ApplyWritesDeviceMemoryOnlyForANewPressure) {
  TTabletRecording rec;
  Run(rec);
  const int writesBefore = padLink.Count("Write");
  host->OnServiceCommand(0, 0);
  EXPECT_EQ(padLink.Count("Write"), writesBefore);
  window.SetPressureLevel(-20);
  host->OnServiceCommand(0, 0);
  EXPECT_GT(padLink.Count("Write"), writesBefore);
  EXPECT_EQ(usb->Pressure(), -20);
  EXPECT_EQ(simMouse.Threshold(), 1430);
  EXPECT_EQ(settings.writes, 2);
}

}  // namespace
}  // namespace pen::test
