// The per-report paths never allocate.
#include <gtest/gtest.h>

#include <array>

#include "pipeline/MapFile.h"
#include "pipeline/PktFifoBezier.h"
#include "pipeline/ReportEncoder.h"
#include "pipeline/ReportFormat.h"
#include "pipeline/SimMouse.h"
#include "support/AllocationCounter.h"
#include "support/FakeChannelPorts.h"
#include "support/FakeClock.h"

namespace pen {
namespace {

using test::AllocationCounter;

class CountingMouse : public IMouseInput {
 public:
  int calls = 0;
  void MouseEvent(uint32_t, int32_t, int32_t, uint32_t, uintptr_t) override { ++calls; }
};

class FixedDisplay : public IDisplayInfo {
 public:
  DisplayGeometry Read() override { return {1920, 1080, 0, 0, 1920, 1080}; }
};

TEST(Allocation, TheCounterSeesAnAllocation) {
  AllocationCounter counter;
  // Through a volatile pointer, so the pair cannot be optimised away.
  int* volatile p = new int(3);
  delete p;
  EXPECT_EQ(counter.Count(), 1);
}

TEST(Allocation, DigitizerReportPathNeverAllocates) {
  test::FakeClock clock;
  TXYZFifo fifo(clock);
  CountingMouse mouse;
  FixedDisplay display;
  TSimMouse sim(fifo, mouse, display);
  sim.SetArea({0, 0, 4095, 4095});
  sim.SetTiltEnabled(true);

  AllocationCounter counter;
  for (int i = 0; i < 2000; ++i) {
    clock.Advance(i % 50 == 0 ? 600 : 5);
    const uint16_t x = static_cast<uint16_t>((i * 37) % 4096);
    const uint16_t y = (i % 7 == 0) ? 0xFFF0 : static_cast<uint16_t>((i * 53) % 4096);
    const uint16_t p = (i / 10) % 2 ? 1000 : 2000;
    DigitizerSample s;
    s.x = x;
    s.y = y;
    s.rawPressure = p;
    s.inRange = i % 13 != 0;
    s.sideValue = static_cast<uint8_t>(i % 8);
    s.keysDown = static_cast<uint16_t>(i * 37 & 0xFFF);
    s.wheelStep = static_cast<int8_t>(i % 16 - 8);
    s.tiltA = -6;
    s.tiltB = 5;
    const auto report = WithoutReportId(EncodeDigitizerReport(s));
    sim.ProcessReport(report.data(), report.size());
    if (i % 100 == 0) sim.RefreshScreenGeometry();
  }
  EXPECT_EQ(counter.Count(), 0);
  EXPECT_GT(mouse.calls, 0);
}

TEST(Allocation, VendorPacketPathNeverAllocates) {
  test::FakeClock clock;
  TXYZFifo fifo(clock);

  AllocationCounter counter;
  long pens = 0, keys = 0;
  for (int i = 0; i < 2000; ++i) {
    clock.Advance(5);
    // Every fifth a key packet, every third of those with the wrong marker.
    auto data = WithoutReportId(i % 5 == 0 ? EncodeVendorKeyPacket(0x0034, static_cast<uint8_t>(i % 16))
                                           : EncodeVendorPenPacket(0xC1, static_cast<uint16_t>(i % 4096), 0x0534,
                                                                   0x0400, 0x10, 0xF0));
    if (i % 15 == 0) data[report_layout::AfterId(report_layout::vendor::kMarker)] = 0x12;
    switch (ClassifyVendorPacket(data.data(), data.size())) {
      case VendorPacketKind::Pen: {
        PenPacket packet;
        ReadVendorPenPacket(data.data(), data.size(), packet);
        fifo.FilterPacket(packet);
        ++pens;
        break;
      }
      case VendorPacketKind::KeyWheel: {
        VendorKeyPacket k;
        DecodeVendorKeyPacket(data.data(), data.size(), k);
        ++keys;
        break;
      }
      default:
        break;
    }
  }
  EXPECT_EQ(counter.Count(), 0);
  EXPECT_GT(pens, 0);
  EXPECT_GT(keys, 0);
}

TEST(Allocation, PublishingNeverAllocatesNotEvenWhenThePenChangesTheTarget) {
  test::FakeSharedBlockObjects objects;
  test::FakeDesktopWindows windows;
  windows.keepMessages = false;
  test::FakeChannelTimer timer;
  test::FakePerformanceCounter performance;
  test::CountingBeeps beeper;
  CountingMouse mouse;
  TMapFile channel(MapFilePorts{objects, windows, timer, performance, beeper, mouse, 10});
  for (uint32_t w = 1; w <= 40; ++w) {
    windows.AddWindow(w * 0x10, 100 + w % 5);
    channel.HandleChannelMessage(channel.MessageA(), w * 0x10, 100 + w % 5);
  }

  AllocationCounter counter;
  for (int i = 0; i < 2000; ++i) {
    performance.AdvanceMs(5);
    windows.underCursor = static_cast<uintptr_t>((i / 10 % 40 + 1) * 0x10);
    PenPacket p;
    p.SetStatus(i % 10 < 5 ? 0xC0 : 0xC1);  // a pen-down every tenth packet
    p.SetX(static_cast<uint16_t>(i * 31));
    channel.PublishPacket(p);
  }
  EXPECT_EQ(counter.Count(), 0);
  EXPECT_GT(windows.notices, 0u);
  EXPECT_GT(windows.cursorLookups, 100);
}

}  // namespace
}  // namespace pen
