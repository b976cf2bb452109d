#include "mac/linux/LinuxEventPoster.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <cmath>

#include "mac/KeyTables.h"
#include "mac/linux/LinuxKeyCodes.h"

namespace penmac::linux_layer {

namespace {

namespace f = event_field;
namespace t = event_type;

// One detent of a high-resolution wheel.
constexpr int32_t kHiResPerStep = 120;

int32_t Scale(double v, double factor, int32_t lo, int32_t hi) {
  const double scaled = std::round(v * factor);
  if (!(scaled >= lo)) return lo;  // also NaN
  if (scaled > hi) return hi;
  return static_cast<int32_t>(scaled);
}

bool IsPointerType(int32_t type) {
  switch (type) {
    case t::kLeftMouseDown:
    case t::kLeftMouseUp:
    case t::kRightMouseDown:
    case t::kRightMouseUp:
    case t::kMouseMoved:
    case t::kLeftMouseDragged:
    case t::kRightMouseDragged:
    case t::kOtherMouseDown:
    case t::kOtherMouseUp:
    case t::kOtherMouseDragged:
      return true;
    default:
      return false;
  }
}

}  // namespace

int32_t PenAxes::XMax() const { return std::max<int32_t>(1, Scale(desktop.Width(), unitsPerPoint, 1, 1 << 30) - 1); }
int32_t PenAxes::YMax() const { return std::max<int32_t>(1, Scale(desktop.Height(), unitsPerPoint, 1, 1 << 30) - 1); }

LinuxEventPoster::LinuxEventPoster(IVirtualInput& input, const PenAxes& axes) : input_(input), axes_(axes) {
  right_ = Button{BTN_STYLUS2, BTN_RIGHT};
  other_ = Button{BTN_STYLUS, BTN_MIDDLE};
}

void LinuxEventPoster::Post(const EventRecord& r) {
  switch (r.origin) {
    case EventRecord::Origin::Keyboard:
      Keyboard(r);
      break;
    case EventRecord::Origin::SystemDefined:
      MediaKey(r);
      break;
    case EventRecord::Origin::Plain:
      if (r.type == t::kTabletProximity) {
        Proximity(r);
      } else if (r.type == t::kScrollWheel) {
        Scroll(r);
      } else if (IsPointerType(r.type)) {
        Pointer(r);
      }
      break;
  }
  Flush();
}

void LinuxEventPoster::Emit(VirtualDevice device, uint16_t type, uint16_t code, int32_t value) {
  input_.Emit(device, type, code, value);
  pending_[static_cast<size_t>(device)] = true;
}

void LinuxEventPoster::Flush() {
  for (size_t d = 0; d < pending_.size(); ++d) {
    if (!pending_[d]) continue;
    input_.Sync(static_cast<VirtualDevice>(d));
    pending_[d] = false;
  }
}

void LinuxEventPoster::PenAxesFrom(const EventRecord& r, bool tilt, bool pressure) {
  if (r.location) {
    Emit(VirtualDevice::Pen, EV_ABS, ABS_X,
         Scale(r.location->x - axes_.desktop.MinX(), axes_.unitsPerPoint, 0, axes_.XMax()));
    Emit(VirtualDevice::Pen, EV_ABS, ABS_Y,
         Scale(r.location->y - axes_.desktop.MinY(), axes_.unitsPerPoint, 0, axes_.YMax()));
  }
  if (pressure) {
    Emit(VirtualDevice::Pen, EV_ABS, ABS_PRESSURE,
         Scale(r.DoubleOr(f::kTabletPressure, 0), axes_.pressureMax, 0, axes_.pressureMax));
  }
  if (tilt) {
    Emit(VirtualDevice::Pen, EV_ABS, ABS_TILT_X,
         Scale(r.DoubleOr(f::kTabletTiltX, 0), axes_.tiltMax, -axes_.tiltMax, axes_.tiltMax));
    Emit(VirtualDevice::Pen, EV_ABS, ABS_TILT_Y,
         Scale(r.DoubleOr(f::kTabletTiltY, 0), axes_.tiltMax, -axes_.tiltMax, axes_.tiltMax));
  }
}

void LinuxEventPoster::Proximity(const EventRecord& r) {
  const bool entering = r.IntegerOr(f::kProximityEnter, 0) != 0;
  if (entering) {
    inProximity_ = true;
    PenAxesFrom(r, false, false);
    Emit(VirtualDevice::Pen, EV_KEY, BTN_TOOL_PEN, 1);
    return;
  }
  // The pen leaves: whatever it held goes up with it.
  if (tipDown_) {
    Emit(VirtualDevice::Pen, EV_KEY, BTN_TOUCH, 0);
    tipDown_ = false;
  }
  for (Button* b : {&right_, &other_}) {
    if (b->held == Held::Pen) {
      Emit(VirtualDevice::Pen, EV_KEY, b->penCode, 0);
      b->held = Held::No;
    }
  }
  Emit(VirtualDevice::Pen, EV_ABS, ABS_PRESSURE, 0);
  Emit(VirtualDevice::Pen, EV_KEY, BTN_TOOL_PEN, 0);
  inProximity_ = false;
}

void LinuxEventPoster::PressButton(Button& b, bool down) {
  if (down) {
    if (b.held != Held::No) return;
    b.held = inProximity_ ? Held::Pen : Held::Mouse;
  } else if (b.held == Held::No) {
    return;
  }
  const bool onPen = b.held == Held::Pen;
  Emit(onPen ? VirtualDevice::Pen : VirtualDevice::Mouse, EV_KEY, onPen ? b.penCode : b.mouseCode, down ? 1 : 0);
  if (!down) b.held = Held::No;
}

// The tip touches only a pen that is near; its pressure comes with it.
void LinuxEventPoster::Tip(const EventRecord& r, bool down) {
  if (!inProximity_) return;
  if (!down && !tipDown_) return;
  PenAxesFrom(r, true, true);
  if (down == tipDown_) return;
  Emit(VirtualDevice::Pen, EV_KEY, BTN_TOUCH, down ? 1 : 0);
  tipDown_ = down;
}

void LinuxEventPoster::Pointer(const EventRecord& r) {
  const bool tabletPoint = r.IntegerOr(f::kSubtype, 0) == kSubtypeTabletPoint;
  // The move that follows a proximity event only places the pen.
  if (!tabletPoint) {
    if (inProximity_) PenAxesFrom(r, false, false);
    return;
  }
  if (r.tabletButton) {
    switch (r.type) {
      case t::kLeftMouseDown:
      case t::kLeftMouseUp: {
        const bool down = r.type == t::kLeftMouseDown;
        if (down != leftHeld_) Emit(VirtualDevice::Mouse, EV_KEY, BTN_LEFT, down ? 1 : 0);
        leftHeld_ = down;
        break;
      }
      case t::kRightMouseDown: PressButton(right_, true); break;
      case t::kRightMouseUp: PressButton(right_, false); break;
      case t::kOtherMouseDown: PressButton(other_, true); break;
      case t::kOtherMouseUp: PressButton(other_, false); break;
      default: break;
    }
    return;
  }
  switch (r.type) {
    case t::kLeftMouseDown: Tip(r, true); break;
    case t::kLeftMouseUp: Tip(r, false); break;
    // A left drag is the tip's while it is down; otherwise a held left
    // definition drags the hovering pen, whose pressure stays 0.
    case t::kLeftMouseDragged:
      if (inProximity_) PenAxesFrom(r, true, tipDown_);
      break;
    default:
      if (inProximity_) PenAxesFrom(r, true, false);
      break;
  }
}

void LinuxEventPoster::Scroll(const EventRecord& r) {
  const int64_t step = r.IntegerOr(f::kScrollDeltaAxis1, 0);
  if (step == 0) return;
  const int32_t clamped = static_cast<int32_t>(std::clamp<int64_t>(step, -1000, 1000));
  Emit(VirtualDevice::Mouse, EV_REL, REL_WHEEL, clamped);
  Emit(VirtualDevice::Mouse, EV_REL, REL_WHEEL_HI_RES, clamped * kHiResPerStep);
}

void LinuxEventPoster::SetModifier(uint64_t mask, bool down) {
  for (const ModifierKey& m : ModifierKeys()) {
    if (m.flagMask != mask) continue;
    if (const auto key = LinuxKeyForKeyCode(m.keyCode)) Emit(VirtualDevice::Keyboard, EV_KEY, *key, down ? 1 : 0);
  }
}

void LinuxEventPoster::Keyboard(const EventRecord& r) {
  if (r.type == t::kFlagsChanged) {
    const auto code = r.Integer(f::kKeycode);
    if (!code) return;
    for (const ModifierKey& m : ModifierKeys()) {
      if (m.keyCode != *code) continue;
      const bool down = (r.flags.value_or(0) & m.flagMask) != 0;
      heldModifiers_ = down ? (heldModifiers_ | m.flagMask) : (heldModifiers_ & ~m.flagMask);
      SetModifier(m.flagMask, down);
    }
    return;
  }
  if (r.type != t::kKeyDown && r.type != t::kKeyUp) return;
  const auto key = LinuxKeyForKeyCode(r.keyCode);
  if (!key) return;
  if (r.type == t::kKeyDown) {
    uint64_t added = 0;
    for (const ModifierKey& m : ModifierKeys()) {
      if ((r.flags.value_or(0) & m.flagMask) && !(heldModifiers_ & m.flagMask)) added |= m.flagMask;
    }
    for (const ModifierKey& m : ModifierKeys()) {
      if (added & m.flagMask) SetModifier(m.flagMask, true);
    }
    Flush();  // the modifiers in a frame of their own, before the key
    addedModifiers_[*key] = added;
    Emit(VirtualDevice::Keyboard, EV_KEY, *key, 1);
  } else {
    Emit(VirtualDevice::Keyboard, EV_KEY, *key, 0);
    if (const auto it = addedModifiers_.find(*key); it != addedModifiers_.end()) {
      for (const ModifierKey& m : ModifierKeys()) {
        if (it->second & m.flagMask) SetModifier(m.flagMask, false);
      }
      addedModifiers_.erase(it);
    }
  }
}

void LinuxEventPoster::MediaKey(const EventRecord& r) {
  if (r.subtype != kMediaKeySubtype) return;
  const int code = static_cast<int>((r.data1 >> 16) & 0xFFFF);
  const uint64_t state = static_cast<uint64_t>(r.data1) & 0xFF00;
  const auto key = LinuxKeyForMediaKey(code);
  if (!key || (state != kMediaKeyDownFlags && state != kMediaKeyUpFlags)) return;
  Emit(VirtualDevice::Keyboard, EV_KEY, *key, state == kMediaKeyDownFlags ? 1 : 0);
}

}  // namespace penmac::linux_layer
