// Any sequence of window messages (from any program), reports and connection
// changes leaves the host in a sound state: no crash, and the values it
// stores stay in their ranges.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "pipeline/PktFifoBezier.h"
#include "pipeline/SimMouse.h"
#include "service/HostMessages.h"
#include "support/HostRig.h"

namespace {

struct NoMouse : pen::IMouseInput {
  void MouseEvent(uint32_t, int32_t, int32_t, uint32_t, uintptr_t) override {}
};
struct Screen : pen::IDisplayInfo {
  pen::DisplayGeometry Read() override { return {1920, 1080, 0, 0, 1920, 1080}; }
};

class Reader {
 public:
  Reader(const uint8_t* d, size_t n) : d_(d), n_(n) {}
  bool Empty() const { return n_ == 0; }
  uint8_t Byte() {
    if (n_ == 0) return 0;
    --n_;
    return *d_++;
  }
  uint64_t Word() {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = v << 8 | Byte();
    return v;
  }
  // Up to `max` bytes into `out`; the count taken.
  size_t Bytes(uint8_t* out, size_t max) {
    size_t n = Byte() % (max + 1);
    if (n > n_) n = n_;
    std::memcpy(out, d_, n);
    d_ += n;
    n_ -= n;
    return n;
  }

 private:
  const uint8_t* d_;
  size_t n_;
};

constexpr uint32_t kMessages[] = {pen::host_msg::kWheelUi,         pen::host_msg::kSetRotation,
                                  pen::host_msg::kServiceCommand,  pen::host_msg::kShowSettings,
                                  pen::host_msg::kForegroundRecheck, pen::host_msg::kClose,
                                  pen::host_msg::kQueryEndSession, pen::host_msg::kDisplayChange,
                                  pen::host_msg::kDestroy};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pen;
  using namespace pen::test;
  HostRig<FakeClock> rig;
  TXYZFifo fifo(rig.clock);
  NoMouse mouse;
  Screen screen;
  TSimMouse simMouse(fifo, mouse, screen);
  TPenHostMain host(rig.Parts({.pointer = &simMouse, .smoothing = &fifo}));
  Reader in(data, size);
  rig.device.connected = in.Byte() & 1;
  host.Start();
  uint8_t report[64];
  while (!in.Empty()) {
    intptr_t result = 0;
    switch (in.Byte() % 7) {
      case 0: {
        const uint8_t pick = in.Byte();
        const uint32_t msg = pick < 200 ? kMessages[pick % std::size(kMessages)] : static_cast<uint32_t>(in.Word());
        const uint64_t w = in.Word();
        host.HandleMessage(msg, w, static_cast<int64_t>(in.Word()), result);
        break;
      }
      case 1: host.OnPenPacket(report, in.Bytes(report, sizeof report)); break;
      case 2: host.OnDigitizerReport(report, in.Bytes(report, sizeof report)); break;
      case 3: host.OnConnectChange(in.Byte() & 1); break;
      case 4: host.OnMonitorPowerChanged(in.Byte() & 1 ? TMonitorPower::PoOn : TMonitorPower::PoOff); break;
      case 5: rig.window.SetScreenMapRect({static_cast<int8_t>(in.Byte()) * 16, static_cast<int8_t>(in.Byte()) * 16,
                                           in.Byte() * 17, in.Byte() * 17});
        rig.window.SetPressureLevel(static_cast<int16_t>(in.Word()));
        break;
      default: rig.foreground.MarkChanged(); break;
    }
    if (rig.device.pressure < -255 || rig.device.pressure > 255) std::abort();
    if (rig.device.rotation > 3) std::abort();
    if (rig.device.mode != 0 && rig.device.mode != 1 && rig.device.mode != 3) std::abort();
    if (simMouse.Threshold() < 1450 - 255 || simMouse.Threshold() > 1450 + 255) std::abort();
  }
  return 0;
}
