#pragma once
#include <cstdint>

#include "pipeline/SharedBlock.h"
#include "wintab/Wintab.h"

namespace pen::wintab {

// The device's own coordinates: the channel's range (0..0xFFF0, sixteen
// times the 12-bit units over the whole desktop), with y counted from the
// bottom, as tablet coordinates are.
constexpr int32_t kAxisMax = 0xFFF0;
constexpr int32_t kAxisExtent = kAxisMax + 1;
// Normal pressure as the pipeline delivers it.
constexpr int32_t kPressureMax = 2048;
// The pen's buttons as the ring's status carries them: tip, barrel 1, barrel 2.
constexpr uint32_t kButtonCount = 3;
constexpr uint32_t kButtonBits = 0x07;

// One ring packet as the device reports it.
struct TabletSample {
  bool inRange = false;  // false: the pen has left
  uint32_t buttons = 0;
  int32_t x = 0, y = 0;  // device coordinates, y up
  int32_t pressure = 0;
  ORIENTATION orientation{};
  uint32_t time = 0;     // the service's milliseconds
};

// Azimuth and altitude of a pen whose two tilt bytes lean it by that many
// degrees towards the right (x) and towards the bottom of the tablet (y).
ORIENTATION OrientationFromTilt(int tiltX, int tiltY);

// The sample a ring slot describes: bytes 7 and 8 of a packet are the tilt
// along y and along x.
TabletSample SampleFromSlot(const RingSlot& slot);

}  // namespace pen::wintab
