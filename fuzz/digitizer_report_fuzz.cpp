// Arbitrary bytes and lengths through the digitizer report decoder and the
// whole pointer emulation. Input: first byte chooses the settings, the rest is
// a run of reports, each prefixed by its length byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "pipeline/PktFifoBezier.h"
#include "pipeline/ReportFormat.h"
#include "pipeline/SimMouse.h"

namespace {

class Ticks : public pen::ITickSource {
 public:
  uint32_t now = 0;
  uint32_t TickCount() override { return now; }
};

class CheckingMouse : public pen::IMouseInput {
 public:
  void MouseEvent(uint32_t flags, int32_t, int32_t, uint32_t data, uintptr_t extra) override {
    // Only move + absolute, with at most one left-button edge.
    if ((flags & ~0x0006u) != 0x8001u || (flags & 0x0006u) == 0x0006u || data != 0 || extra != 0) std::abort();
  }
};

class Display : public pen::IDisplayInfo {
 public:
  pen::DisplayGeometry geometry;
  pen::DisplayGeometry Read() override { return geometry; }
};

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pen::DigitizerReport r;
  if (pen::DecodeDigitizerReport(data, size, r)) {
    if (r.keyBits > 0xFFF || r.wheelStep < -8 || r.wheelStep > 7) std::abort();
  }
  if (size < 17) return 0;

  Ticks ticks;
  pen::TXYZFifo fifo(ticks);
  CheckingMouse mouse;
  Display display;
  display.geometry = {static_cast<int16_t>(Word(data + 1)), static_cast<int16_t>(Word(data + 3)),
                      static_cast<int16_t>(Word(data + 5)), static_cast<int16_t>(Word(data + 7)),
                      static_cast<int16_t>(Word(data + 9)), static_cast<int16_t>(Word(data + 11))};
  pen::TSimMouse sim(fifo, mouse, display);
  const uint8_t settings = data[0];
  sim.SetLeftHand(settings & 1);
  sim.SetTiltEnabled(settings & 2);
  sim.SetSmoothing(settings >> 4);
  sim.SetThreshold(1450 + static_cast<int8_t>(data[13]) * 2);
  sim.SetArea({static_cast<uint16_t>(data[14] * 16), static_cast<uint16_t>(data[15] * 16), 4095, 4095});
  sim.SetTabletArea({0, 0, static_cast<uint16_t>((settings & 4) ? 0 : 4095), static_cast<uint16_t>(data[16] * 16)});

  size_t pos = 17;
  while (pos < size) {
    const size_t len = data[pos++];
    const size_t take = len < size - pos ? len : size - pos;
    ticks.now += (len & 1) ? 600 : 5;
    if (sim.ProcessReport(data + pos, take)) {
      const uint32_t softKeys = sim.Mask() & pen::mask_bits::kSoftKeys;
      if (sim.Mask() >> 25) std::abort();                   // no bit past the last soft key
      if (softKeys & (softKeys - 1)) std::abort();          // at most one soft key
      if (sim.Pressure() < 0 || sim.Pressure() > 2047) std::abort();
      if (sim.Packet().X() > 0xFFF0 || sim.Packet().Y() > 0xFFF0) std::abort();
      if (sim.Packet().Pressure() > 2047) std::abort();
    }
    pos += take;
  }
  return 0;
}
