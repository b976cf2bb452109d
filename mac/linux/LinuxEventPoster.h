#pragma once
#include <array>
#include <cstdint>
#include <map>

#include "mac/EventRecord.h"
#include "mac/Geometry.h"

namespace penmac::linux_layer {

enum class VirtualDevice : uint8_t { Pen, Keyboard, Mouse };

// The three virtual input devices, one evdev event at a time.
class IVirtualInput {
 public:
  virtual ~IVirtualInput() = default;
  virtual void Emit(VirtualDevice device, uint16_t type, uint16_t code, int32_t value) = 0;
  // Ends one frame of events (SYN_REPORT).
  virtual void Sync(VirtualDevice device) = 0;
};

// Axis ranges of the pen device.
struct PenAxes {
  Rect desktop;                   // the whole desktop in the event space
  double unitsPerPoint = 4;       // sub-point precision for drawing programs
  int32_t pressureMax = 2047;
  int32_t tiltMax = 64;           // at tilt 1.0
  int32_t XMax() const;
  int32_t YMax() const;
};

// Turns event records into Linux input: tablet records drive the pen device
// (absolute position over the whole desktop, pressure, tilt, proximity as
// the pen tool, the left button as the tip, right and other as the stylus
// buttons); a mouse button pressed while the pen is away goes to the mouse
// device instead, and its release goes wherever its press went. Scroll steps
// go to the mouse wheel, keys to the keyboard, media keys to the keyboard's
// media keys.
//
// Key events carry their modifiers as flags; a Linux keyboard has only key
// presses. A modifier in a key's flags that no modifier event holds is
// pressed just before the key and released with it, so "!" types Shift+1
// and releasing the key lets go of that Shift.
class LinuxEventPoster : public IEventPoster {
 public:
  LinuxEventPoster(IVirtualInput& input, const PenAxes& axes);

  void Post(const EventRecord& record) override;

 private:
  enum class Held : uint8_t { No, Pen, Mouse };
  struct Button {
    uint16_t penCode;
    uint16_t mouseCode;
    Held held = Held::No;
  };

  void Proximity(const EventRecord& r);
  void Pointer(const EventRecord& r);
  void PressButton(Button& b, bool down);
  void PenAxesFrom(const EventRecord& r, bool withPressureAndTilt);
  void Keyboard(const EventRecord& r);
  void MediaKey(const EventRecord& r);
  void Scroll(const EventRecord& r);
  void SetModifier(uint64_t mask, bool down);
  // Every event goes through Emit; Flush ends the frame of each device that
  // got one.
  void Emit(VirtualDevice device, uint16_t type, uint16_t code, int32_t value);
  void Flush();

  IVirtualInput& input_;
  PenAxes axes_;
  std::array<bool, 3> pending_{};
  bool inProximity_ = false;
  Button left_;
  Button right_;
  Button other_;
  uint64_t heldModifiers_ = 0;                  // flag bits held by modifier events
  std::map<uint16_t, uint64_t> addedModifiers_;  // Linux key -> modifiers pressed for it alone
};

}  // namespace penmac::linux_layer
