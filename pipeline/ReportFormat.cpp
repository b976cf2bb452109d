#include "pipeline/ReportFormat.h"

#include <algorithm>

#include "common/ByteOrder.h"

namespace pen {

namespace {
namespace dig = report_layout::digitizer;
namespace ven = report_layout::vendor;
using report_layout::AfterId;

constexpr int32_t kSoftKeyOffset = 160;
constexpr int32_t kSoftKeyPitch = 430;
}  // namespace

uint32_t DigitizerKeyBits(uint8_t keysLow, uint8_t keysHigh) { return dig::KeyBits(keysLow, keysHigh); }

int8_t DigitizerWheelStep(uint8_t keysHigh) { return static_cast<int8_t>(dig::WheelStep(keysHigh)); }

uint32_t SideButtonMask(uint8_t sideValue) {
  // Side buttons arrive as one value, not as bits.
  if (sideValue == dig::kSideValue1) return mask_bits::kSide1;
  if (sideValue == dig::kSideValue2) return mask_bits::kSide2;
  return 0;
}

bool DecodeDigitizerReport(const uint8_t* data, size_t length, DigitizerReport& out) {
  if (data == nullptr || length < kDigitizerReportSize) return false;
  out.x = LoadBE16(data + AfterId(dig::kX));
  out.y = LoadBE16(data + AfterId(dig::kY));
  out.rawPressure = LoadBE16(data + AfterId(dig::kPressure));
  // Bytes 7..8 say only whether the position can be used.
  out.noPosition = data[AfterId(dig::kRest)] == 0 && data[AfterId(dig::kRest) + 1] == 0;
  out.sideValue = data[AfterId(dig::kSide)];
  out.sideMask = SideButtonMask(out.sideValue);
  const uint8_t keysLow = data[AfterId(dig::kKeysLow)];
  const uint8_t keysHigh = data[AfterId(dig::kKeysHigh)];
  out.keyBits = DigitizerKeyBits(keysLow, keysHigh);
  out.wheelStep = DigitizerWheelStep(keysHigh);
  // Signed; the byte sent last comes first in the pen packet.
  out.tiltA = static_cast<int8_t>(data[AfterId(dig::kTilt14)]);
  out.tiltB = static_cast<int8_t>(data[AfterId(dig::kTilt13)]);
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
  if (data[AfterId(ven::kStatus)] != kVendorKeyStatus) {
    return length >= kVendorPenPacketSize ? VendorPacketKind::Pen : VendorPacketKind::Invalid;
  }
  if (length < 2) return VendorPacketKind::Invalid;
  if (data[AfterId(ven::kMarker)] != kVendorKeyMarker) return VendorPacketKind::Ignored;
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
  out.wheel = data[AfterId(ven::kWheel)];
  out.keyWord = LoadLE16(data + AfterId(ven::kKeyWord));
  out.mask = VendorKeyWordToMask(out.keyWord);
  return true;
}

}  // namespace pen
