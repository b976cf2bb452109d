#include "pipeline/ReportEncoder.h"

#include "common/ByteOrder.h"

namespace pen {

namespace dig = report_layout::digitizer;
namespace ven = report_layout::vendor;

DigitizerReportBytes EncodeDigitizerReport(const DigitizerSample& s) {
  DigitizerReportBytes r{};
  r[0] = kDigitizerReportId;
  StoreBE16(&r[dig::kX], s.x);
  StoreBE16(&r[dig::kY], s.y);
  StoreBE16(&r[dig::kPressure], s.rawPressure);
  // A rest pressure of 0 would read as a report without position.
  StoreBE16(&r[dig::kRest], s.inRange ? s.restPressure : 0);
  r[dig::kSide] = s.sideValue;
  r[dig::kKeysLow] = dig::KeysLowByte(s.keysDown);
  r[dig::kKeysHigh] = dig::KeysHighByte(s.keysDown, s.wheelStep);
  r[dig::kTilt13] = static_cast<uint8_t>(s.tiltB);
  r[dig::kTilt14] = static_cast<uint8_t>(s.tiltA);
  return r;
}

VendorReportBytes EncodeVendorKeyPacket(uint16_t keyWord, uint8_t wheel) {
  VendorReportBytes r{};
  r[0] = kVendorReportId;
  r[ven::kStatus] = ven::kKeyStatus;
  r[ven::kMarker] = ven::kKeyMarker;
  r[ven::kWheel] = wheel;
  StoreLE16(&r[ven::kKeyWord], keyWord);
  return r;
}

VendorReportBytes EncodeVendorPenPacket(uint8_t status, uint16_t x, uint16_t y, uint16_t pressure, uint8_t extra7,
                                        uint8_t extra8) {
  VendorReportBytes r{};
  r[0] = kVendorReportId;
  r[ven::kStatus] = status;
  StoreLE16(&r[ven::kPenX], x);
  StoreLE16(&r[ven::kPenY], y);
  StoreLE16(&r[ven::kPenPressure], pressure);
  r[ven::kPenExtra] = extra7;
  r[ven::kPenExtra + 1] = extra8;
  return r;
}

void AddDigitizerReport(TTabletRecording& rec, uint32_t delayMs, const DigitizerSample& s) {
  const auto r = EncodeDigitizerReport(s);
  rec.AddReport(delayMs, TabletInterface::B, r.data(), r.size());
}

void AddVendorReport(TTabletRecording& rec, uint32_t delayMs, const VendorReportBytes& report) {
  rec.AddReport(delayMs, TabletInterface::A, report.data(), report.size());
}

}  // namespace pen
