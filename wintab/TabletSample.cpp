#include "wintab/TabletSample.h"

#include <algorithm>
#include <cmath>

#include "pipeline/PenPacket.h"

namespace pen::wintab {

ORIENTATION OrientationFromTilt(int tiltX, int tiltY) {
  ORIENTATION o{0, 900, 0};
  if (tiltX == 0 && tiltY == 0) return o;
  constexpr double kRad = 3.14159265358979323846 / 180.0;
  // Leaning 90 degrees would lay the pen flat, which it cannot be.
  const double tx = std::tan(std::clamp(tiltX, -89, 89) * kRad);
  const double ty = std::tan(std::clamp(tiltY, -89, 89) * kRad);
  // The pen's top seen from above, clockwise from the tablet's top edge
  // (y of the tilt counts towards the bottom).
  double azimuth = std::atan2(tx, -ty) / kRad;
  if (azimuth < 0) azimuth += 360.0;
  const double altitude = std::atan2(1.0, std::sqrt(tx * tx + ty * ty)) / kRad;
  o.orAzimuth = static_cast<int32_t>(std::lround(azimuth * 10.0)) % 3600;
  o.orAltitude = static_cast<int32_t>(std::lround(altitude * 10.0));
  return o;
}

TabletSample SampleFromSlot(const RingSlot& slot) {
  const PenPacket& p = slot.packet;
  TabletSample s;
  s.inRange = (p.Status() & 0xC0) == 0xC0;
  s.buttons = p.Status() & kButtonBits;
  s.x = std::min<int32_t>(p.X(), kAxisMax);
  s.y = kAxisMax - std::min<int32_t>(p.Y(), kAxisMax);
  s.pressure = std::min<int32_t>(p.Pressure(), kPressureMax);
  s.orientation = OrientationFromTilt(p.TiltB(), p.TiltA());
  s.time = slot.time;
  return s;
}

}  // namespace pen::wintab
