// Arbitrary bytes and lengths through the vendor packet decoders and the
// packet path of the smoothing filter. Input: a run of packets, each prefixed
// by its length byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "pipeline/PktFifoBezier.h"
#include "pipeline/ReportFormat.h"

namespace {
class Ticks : public pen::ITickSource {
 public:
  uint32_t now = 0;
  uint32_t TickCount() override { return now; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Ticks ticks;
  pen::TXYZFifo fifo(ticks);
  size_t pos = 0;
  while (pos < size) {
    const size_t len = data[pos++];
    const size_t take = len < size - pos ? len : size - pos;
    const uint8_t* packet = data + pos;
    ticks.now += (len & 0x40) ? 600 : 5;
    if (len & 0x80) fifo.RequestRestart();
    switch (pen::ClassifyVendorPacket(packet, take)) {
      case pen::VendorPacketKind::Pen: {
        pen::PenPacket p;
        if (!pen::ReadVendorPenPacket(packet, take, p)) std::abort();
        const uint8_t status = p.Status(), a = p.bytes[7], b = p.bytes[8];
        fifo.FilterPacket(p);
        if (p.X() > 0xFFF0 || p.Y() > 0xFFF0 || p.Pressure() > 2047) std::abort();
        if (p.Status() != status || p.bytes[7] != a || p.bytes[8] != b) std::abort();
        break;
      }
      case pen::VendorPacketKind::KeyWheel: {
        pen::VendorKeyPacket k;
        if (!pen::DecodeVendorKeyPacket(packet, take, k)) std::abort();
        if (k.mask & ~0x7FFEu) std::abort();  // side buttons and keys only
        break;
      }
      case pen::VendorPacketKind::Ignored:
      case pen::VendorPacketKind::Invalid: {
        pen::PenPacket p;
        pen::VendorKeyPacket k;
        if (pen::ReadVendorPenPacket(packet, take, p) || pen::DecodeVendorKeyPacket(packet, take, k)) std::abort();
        break;
      }
    }
    pos += take;
  }
  return 0;
}
