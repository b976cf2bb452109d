#pragma once
#include <memory>

#include "pipeline/MapFile.h"
#include "support/FakeChannelPorts.h"

namespace pen::test {

// The shared channel on fake system objects. Windows 0x100.. belong to
// processes 100.. as the tests add them; the service is process 4000.
struct MapFileRig {
  FakeSharedBlockObjects objects;
  FakeDesktopWindows windows;
  FakeChannelTimer timer;
  FakePerformanceCounter counter;
  CountingBeeps beeper;
  RecordedMouse mouse;
  int windowsMajor = 10;
  std::unique_ptr<TMapFile> channel;

  TMapFile& Create() {
    channel = std::make_unique<TMapFile>(
        MapFilePorts{objects, windows, timer, counter, beeper, mouse, windowsMajor});
    return *channel;
  }
  TSharedBlock Block() { return TSharedBlock(objects.bytes.data(), objects.bytes.size()); }
  uint32_t A() const { return channel->MessageA(); }
  uint32_t B() const { return channel->MessageB(); }
  // A client registers the way drawing programs do.
  void Register(uintptr_t window, uint32_t process) {
    windows.AddWindow(window, process);
    channel->HandleChannelMessage(A(), window, process);
  }
  void Pen(uint8_t status, uint16_t x = 0x1000, uint16_t y = 0x2000, uint16_t pressure = 0, int8_t tiltA = 0,
           int8_t tiltB = 0) {
    PenPacket p;
    p.SetStatus(status);
    p.SetX(x);
    p.SetY(y);
    p.SetPressure(pressure);
    p.SetTilt(tiltA, tiltB);
    channel->PublishPacket(p);
  }
  // Notifications of written packets (message A, lParam 5) to `window`.
  std::vector<uint64_t> PacketNotices(uintptr_t window) const {
    std::vector<uint64_t> serials;
    for (const auto& s : windows.To(window)) {
      if (!s.posted && s.msg == channel->MessageA() && s.lparam == tabshare::kNotifyPacket) serials.push_back(s.wparam);
    }
    return serials;
  }
};

}  // namespace pen::test
