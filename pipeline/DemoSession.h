#pragma once
#include <cstdint>

#include "pipeline/ReportEncoder.h"
#include "pipeline/TabletRecording.h"

namespace pen {

// A built-in pen session: a short hover, a stroke across the tablet with the
// tip down, the lift, then a tablet key pressed and released on each
// interface, and one wheel step.
TTabletRecording MakeDemoSession(const TabletIdentity& identity = {});

// A built-in session for the settings window: a tablet whose pen pressure
// can be adjusted (firmware 0x2100) hovers into the rectangle (left, top,
// right, bottom, in tablet units, as mapped onto the screen), draws a wave
// across it with the pressure swelling and easing, tilting the pen as it
// goes, and leaves.
TTabletRecording MakeDrawingDemo(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom);

}  // namespace pen
