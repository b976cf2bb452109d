#include "pipeline/ReportFormat.h"

#include <algorithm>

#include "common/ByteOrder.h"

namespace pen {

namespace {
// Side buttons arrive as one value, not as bits.
constexpr uint8_t kSideValue1 = 4;
constexpr uint8_t kSideValue2 = 6;
constexpr int32_t kSoftKeyOffset = 160;
constexpr int32_t kSoftKeyPitch = 430;
}  // namespace

uint32_t DigitizerKeyBits(uint8_t keysLow, uint8_t keysHigh) {
  // Active low: keys 1..8 in the low byte, 9..10 in bits 0..1 and 11..12 in
  // bits 4..5 of the high byte; the bits between carry the wheel.
  const uint32_t released = keysLow | ((keysHigh & 0x03u) << 8) | (((keysHigh >> 4) & 0x03u) << 10);
  return ~released & 0xFFFu;
}

int8_t DigitizerWheelStep(uint8_t keysHigh) {
  // A 4-bit two's-complement value split over bits 2..3 (low part) and 6..7
  // (high part, bit 7 the sign).
  const int step = ((keysHigh >> 2) & 0x03) | (((keysHigh >> 6) & 0x03) << 2);
  return static_cast<int8_t>((keysHigh & 0x80) ? step - 16 : step);
}

uint32_t SideButtonMask(uint8_t sideValue) {
  if (sideValue == kSideValue1) return mask_bits::kSide1;
  if (sideValue == kSideValue2) return mask_bits::kSide2;
  return 0;
}

bool DecodeDigitizerReport(const uint8_t* data, size_t length, DigitizerReport& out) {
  if (data == nullptr || length < kDigitizerReportSize) return false;
  out.x = LoadBE16(data + 0);
  out.y = LoadBE16(data + 2);
  out.rawPressure = LoadBE16(data + 4);
  out.noPosition = data[6] == 0 && data[7] == 0;
  out.sideValue = data[8];
  out.sideMask = SideButtonMask(data[8]);
  out.keyBits = DigitizerKeyBits(data[10], data[11]);
  out.wheelStep = DigitizerWheelStep(data[11]);
  out.tiltA = static_cast<int8_t>(data[13]);
  out.tiltB = static_cast<int8_t>(data[12]);
  return true;
}

int SoftKeyIndex(int32_t x) {
  // Floor division, then the ten keys that exist: a smoothed X overshoots
  // past either end of the strip by a few percent, and the button manager
  // indexes its soft-key table with this number.
  const int64_t shifted = static_cast<int64_t>(x) + kSoftKeyOffset;
  int64_t n = shifted / kSoftKeyPitch;
  if (shifted < 0 && shifted % kSoftKeyPitch != 0) --n;
  return static_cast<int>(std::clamp<int64_t>(n, 0, mask_bits::kSoftKeyCount - 1));
}

uint32_t SoftKeyBit(int32_t x) { return 1u << (mask_bits::kSoftKeyShift + SoftKeyIndex(x)); }

VendorPacketKind ClassifyVendorPacket(const uint8_t* data, size_t length) {
  if (data == nullptr || length < 1) return VendorPacketKind::Invalid;
  if (data[0] != kVendorKeyStatus) {
    return length >= kVendorPenPacketSize ? VendorPacketKind::Pen : VendorPacketKind::Invalid;
  }
  if (length < 2) return VendorPacketKind::Invalid;
  if (data[1] != kVendorKeyMarker) return VendorPacketKind::Ignored;
  return length >= kVendorKeyPacketSize ? VendorPacketKind::KeyWheel : VendorPacketKind::Invalid;
}

bool ReadVendorPenPacket(const uint8_t* data, size_t length, PenPacket& out) {
  if (ClassifyVendorPacket(data, length) != VendorPacketKind::Pen) return false;
  std::copy_n(data, kVendorPenPacketSize, out.bytes.begin());
  return true;
}

uint32_t VendorKeyWordToMask(uint16_t keyWord) {
  uint32_t mask = (static_cast<uint32_t>(keyWord) & 0xFFFu) << mask_bits::kKeyShift;
  if (keyWord & 0x1000u) mask |= mask_bits::kSide2;
  if (keyWord & 0x2000u) mask |= mask_bits::kSide1;
  return mask;
}

bool DecodeVendorKeyPacket(const uint8_t* data, size_t length, VendorKeyPacket& out) {
  if (ClassifyVendorPacket(data, length) != VendorPacketKind::KeyWheel) return false;
  out.wheel = data[2];
  out.keyWord = LoadLE16(data + 3);
  out.mask = VendorKeyWordToMask(out.keyWord);
  return true;
}

}  // namespace pen
