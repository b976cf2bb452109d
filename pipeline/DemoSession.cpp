#include "pipeline/DemoSession.h"

#include <cmath>

namespace pen {

namespace {
// Raw pressure of a pen in the air, and the deepest press of the stroke; the
// host's default press threshold (1450) lies between.
constexpr uint16_t kRawHover = 1800;
constexpr uint16_t kRawPressed = 1050;
constexpr uint32_t kReportMs = 8;  // the tablet reports at about 125 Hz
}  // namespace

TTabletRecording MakeDemoSession(const TabletIdentity& identity) {
  TTabletRecording rec;
  rec.identity = identity;
  auto add = [&rec](uint32_t delay, const DigitizerSample& s) { AddDigitizerReport(rec, delay, s); };

  DigitizerSample s;
  s.rawPressure = kRawHover;
  // Hover: the pen approaches the stroke's start.
  for (int i = 0; i < 20; ++i) {
    s.x = static_cast<uint16_t>(800 + i * 10);
    s.y = static_cast<uint16_t>(1400 + i * 5);
    s.tiltA = static_cast<int8_t>(-10 + i / 4);
    s.tiltB = 12;
    add(i == 0 ? 500 : kReportMs, s);
  }
  // Stroke: 120 reports across the tablet, pressed in over the first 15 and
  // eased off over the last 15.
  constexpr int kStroke = 120;
  for (int i = 0; i < kStroke; ++i) {
    s.x = static_cast<uint16_t>(1000 + i * 20);
    s.y = static_cast<uint16_t>(1500 + i * 8);
    int depth = i < 15 ? i : (i >= kStroke - 15 ? kStroke - 1 - i : 15);
    s.rawPressure = static_cast<uint16_t>(kRawHover - (kRawHover - kRawPressed) * depth / 15 + (i % 3) * 4);
    s.tiltA = static_cast<int8_t>(-5 + i / 8);
    s.tiltB = static_cast<int8_t>(12 - i / 12);
    add(kReportMs, s);
  }
  // Lift: hover away, then out of range.
  s.rawPressure = kRawHover;
  for (int i = 0; i < 10; ++i) {
    s.y = static_cast<uint16_t>(s.y - 10);
    add(kReportMs, s);
  }
  DigitizerSample away;
  away.inRange = false;
  add(kReportMs, away);
  // Key 1 on interface B, then key 2 on interface A.
  away.keysDown = 0x001;
  add(400, away);
  away.keysDown = 0;
  add(150, away);
  AddVendorReport(rec, 400, EncodeVendorKeyPacket(0x0002, 0));
  AddVendorReport(rec, 150, EncodeVendorKeyPacket(0x0000, 0));
  // One wheel step to the left, then a pause for the wheel's action.
  AddVendorReport(rec, 400, EncodeVendorKeyPacket(0x0000, 0xFF));
  rec.AddWait(300);
  return rec;
}

TTabletRecording MakeDrawingDemo(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) {
  TTabletRecording rec;
  rec.identity.version = 0x2100;
  auto add = [&rec](uint32_t delay, const DigitizerSample& s) { AddDigitizerReport(rec, delay, s); };
  const double w = right - left, h = bottom - top;
  auto at = [&](double fx, double fy, DigitizerSample& s) {
    s.x = static_cast<uint16_t>(left + w * fx);
    s.y = static_cast<uint16_t>(top + h * fy);
  };
  DigitizerSample s;
  s.rawPressure = kRawHover;
  // In from the left, hovering.
  for (int i = 0; i < 15; ++i) {
    at(0.05 + i * 0.005, 0.55, s);
    add(i == 0 ? 500 : kReportMs, s);
  }
  // The wave: 160 reports, pressed from light (raw 1420) to firm (1210) and back.
  constexpr int kStroke = 160;
  constexpr double kPi = 3.14159265358979;
  for (int i = 0; i < kStroke; ++i) {
    const double t = static_cast<double>(i) / (kStroke - 1);
    at(0.12 + 0.76 * t, 0.55 - 0.22 * std::sin(t * 2 * kPi), s);
    s.rawPressure = static_cast<uint16_t>(1420 - 210 * std::sin(t * kPi));
    s.tiltA = static_cast<int8_t>(-40 + 80 * t);
    s.tiltB = static_cast<int8_t>(30 - 20 * t);
    add(kReportMs, s);
  }
  s.rawPressure = kRawHover;
  for (int i = 0; i < 10; ++i) add(kReportMs, s);
  DigitizerSample away;
  away.inRange = false;
  add(kReportMs, away);
  return rec;
}

}  // namespace pen
