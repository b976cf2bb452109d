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

// Turns event records into Linux input. The pen device carries the pen's
// own records: absolute position over the whole desktop, tilt, proximity as
// the pen tool, and the tip (BTN_TOUCH) with its pressure. Only the tip's
// records move ABS_PRESSURE: libinput takes any pressure on a pen for
// contact, so a button's record that carried one would draw.
//
// The buttons of a tablet button's definition: right and other are the
// pen's stylus buttons (BTN_STYLUS2, BTN_STYLUS) while the pen is near, so
// they arrive with the pen's position as its right and middle click; left is
// the mouse device's left button, as the pen has no left button but its
// tip. Pressed while the pen is away, every button is the mouse device's;
// a release goes wherever its press went. Scroll steps go to the mouse
// wheel, keys to the keyboard, media keys to the keyboard's media keys.
//
// Key events carry their modifiers as flags; a Linux keyboard has only key
// presses. A modifier in a key's flags that no modifier event holds is
// pressed just before the key and released with it, so "!" types Shift+1
// and releasing the key lets go of that Shift.
class LinuxEventPoster : public IEventPoster {
 public:
  LinuxEventPoster(IVirtualInput& input, const PenAxes& axes);

  void Post(const EventRecord& record) override;
  // The desktop changed (and the pen device with it): positions scale onto
  // the new extent from the next event on.
  void SetAxes(const PenAxes& axes) { axes_ = axes; }

 private:
  enum class Held : uint8_t { No, Pen, Mouse };
  struct Button {
    uint16_t penCode;
    uint16_t mouseCode;
    Held held = Held::No;
  };

  void Proximity(const EventRecord& r);
  void Pointer(const EventRecord& r);
  void Tip(const EventRecord& r, bool down);
  void PressButton(Button& b, bool down);
  // Position (when the record has one) and, with `tilt`, the tilt; the
  // pressure only with `pressure`, which the tip's records alone pass.
  void PenAxesFrom(const EventRecord& r, bool tilt, bool pressure);
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
  bool tipDown_ = false;
  bool leftHeld_ = false;  // a definition's left button: the mouse's, near or away
  Button right_;
  Button other_;
  uint64_t heldModifiers_ = 0;                  // flag bits held by modifier events
  std::map<uint16_t, uint64_t> addedModifiers_;  // Linux key -> modifiers pressed for it alone
};

}  // namespace penmac::linux_layer
