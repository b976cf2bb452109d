#pragma once
#include <cstdint>
#include <string_view>

#include "mac/EventRecord.h"
#include "mac/Geometry.h"

// The six posting functions: each builds its events, hands them to the
// poster at once and keeps nothing. A location of exactly (0, 0) is never set
// on an event, so the event takes the current pointer position.
namespace penmac {

// One wheel notch per "+" or "-" of a mouse string.
constexpr int kMouseStringWheelStep = 1;

void PostPoint(IEventPoster& poster, int32_t type, Point location, int64_t button, double pressure, Point tilt,
               int64_t number);
void PostProximity(IEventPoster& poster, Point location, bool isEntering);
void PostMouse(IEventPoster& poster, std::string_view mouse, Point location, double pressure, Point tilt,
               bool isDown);
void PostWheel(IEventPoster& poster, int64_t step);
void PostFKey(IEventPoster& poster, int index);
void PostKey(IEventPoster& poster, std::string_view keys, bool isDown);

}  // namespace penmac
