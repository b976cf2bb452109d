#pragma once
#include <windows.h>

#include "ui/MapScreen.h"

namespace pen::win32 {

// What the screen mapping window's buttons look like at the moment.
struct MapScreenButtons {
  MapScreenHit hot = MapScreenHit::Background;      // under the pointer
  MapScreenHit pressed = MapScreenHit::Background;  // held down
};

// The whole client area of the screen mapping window; `desktop` holds the
// screenshot of the virtual desktop (null: a black screen).
void PaintScreenMapping(HDC dc, const TScreenMappingForm& form, HDC desktop, const MapScreenButtons& buttons,
                        HFONT captionFont);

}  // namespace pen::win32
