#include "mac/EventPosting.h"

#include <array>
#include <string>

#include "mac/KeyTables.h"

namespace penmac {

namespace {

namespace f = event_field;
namespace t = event_type;

// Proximity identity of the pen: the tablet's vendor, one tablet, pointer 3,
// a pen pointer type with serial 1, and the capabilities it reports
// (position, buttons, pressure, tilt, rotation and the vendor fields).
constexpr int64_t kVendorId = 0x08F2;
constexpr int64_t kTabletId = 1;
constexpr int64_t kPointerId = 3;
constexpr int64_t kVendorPointerType = 0x0812;
constexpr int64_t kVendorPointerSerial = 1;
constexpr int64_t kCapabilityMask = 0x0DC7;
constexpr int64_t kPointerTypePen = 1;

void SetLocationUnlessZero(EventRecord& r, Point location) {
  if (location != Point{}) r.location = location;
}

void SetTabletPosition(EventRecord& r, Point location) {
  r.SetInteger(f::kTabletPointX, TruncateToInt64(location.x));
  r.SetInteger(f::kTabletPointY, TruncateToInt64(location.y));
}

void SetVendorFieldsZero(EventRecord& r) {
  r.SetInteger(f::kTabletVendor1, 0);
  r.SetInteger(f::kTabletVendor2, 0);
  r.SetInteger(f::kTabletVendor3, 0);
}

EventRecord KeyboardRecord(uint16_t keyCode, bool isDown) {
  EventRecord r;
  r.origin = EventRecord::Origin::Keyboard;
  r.type = isDown ? t::kKeyDown : t::kKeyUp;
  r.keyCode = keyCode;
  r.keyDown = isDown;
  r.SetInteger(f::kKeycode, keyCode);
  return r;
}

void PostKeyCode(IEventPoster& poster, uint16_t keyCode, bool isDown, uint64_t flags) {
  EventRecord r = KeyboardRecord(keyCode, isDown);
  r.flags = flags;
  poster.Post(r);
}

void PostMediaKey(IEventPoster& poster, int code, uint64_t flagWord) {
  EventRecord r;
  r.origin = EventRecord::Origin::SystemDefined;
  r.type = t::kSystemDefined;
  r.subtype = kMediaKeySubtype;
  r.flags = flagWord;
  r.data1 = (static_cast<int64_t>(code) << 16) | static_cast<int64_t>(flagWord);
  r.data2 = -1;
  poster.Post(r);
}

// Removes every occurrence of `what` from `text`; true when there was one.
bool RemoveAll(std::string& text, std::string_view what) {
  bool found = false;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
    text.erase(at, what.size());
    found = true;
  }
  return found;
}

EventRecord PointRecord(int32_t type, Point location, int64_t button, double pressure, Point tilt, int64_t number) {
  EventRecord r;
  r.type = type;
  SetLocationUnlessZero(r, location);
  const bool click = type == t::kLeftMouseDown || type == t::kLeftMouseUp;
  r.SetInteger(f::kClickState, click ? number : 1);
  r.SetInteger(f::kButtonNumber, button);
  r.SetInteger(f::kSubtype, kSubtypeTabletPoint);
  r.SetInteger(f::kTabletDeviceId, kTabletDeviceId);
  SetTabletPosition(r, location);
  r.SetInteger(f::kTabletPointZ, 0);
  r.SetInteger(f::kTabletButtons, button);
  r.SetDouble(f::kTabletPressure, pressure);
  r.SetDouble(f::kTabletTiltX, tilt.x);
  r.SetDouble(f::kTabletTiltY, tilt.y);
  r.SetDouble(f::kTabletRotation, 0);
  r.SetDouble(f::kTabletTangentialPressure, 0);
  SetVendorFieldsZero(r);
  return r;
}

}  // namespace

void PostPoint(IEventPoster& poster, int32_t type, Point location, int64_t button, double pressure, Point tilt,
               int64_t number) {
  poster.Post(PointRecord(type, location, button, pressure, tilt, number));
}

void PostProximity(IEventPoster& poster, Point location, bool isEntering) {
  EventRecord r;
  r.type = t::kTabletProximity;
  SetLocationUnlessZero(r, location);
  r.SetInteger(f::kProximityDeviceId, kTabletDeviceId);
  r.SetInteger(f::kProximityVendorId, kVendorId);
  r.SetInteger(f::kProximityTabletId, kTabletId);
  r.SetInteger(f::kProximityPointerId, kPointerId);
  r.SetInteger(f::kProximitySystemTabletId, 0);
  r.SetInteger(f::kProximityVendorPointerType, kVendorPointerType);
  r.SetInteger(f::kProximityVendorPointerSerial, kVendorPointerSerial);
  r.SetInteger(f::kProximityVendorUniqueId, 0);
  r.SetInteger(f::kProximityCapabilityMask, kCapabilityMask);
  r.SetInteger(f::kProximityPointerType, kPointerTypePen);
  r.SetInteger(f::kProximityEnter, isEntering ? 1 : 0);
  poster.Post(r);

  // The same event, turned into a pointer move of subtype proximity: it keeps
  // the proximity fields set above.
  r.type = t::kMouseMoved;
  r.SetInteger(f::kClickState, 1);
  r.SetInteger(f::kButtonNumber, 0);
  r.SetInteger(f::kSubtype, kSubtypeTabletProximity);
  r.SetInteger(f::kTabletDeviceId, kTabletDeviceId);
  SetTabletPosition(r, location);
  r.SetInteger(f::kTabletPointZ, 0);
  r.SetInteger(f::kTabletButtons, 0);
  for (int field = f::kTabletPressure; field <= f::kTabletTangentialPressure; ++field) r.SetDouble(field, 0.0);
  SetVendorFieldsZero(r);
  poster.Post(r);
}

void PostMouse(IEventPoster& poster, std::string_view mouse, Point location, double pressure, Point tilt,
               bool isDown) {
  const auto has = [mouse](char c) { return mouse.find(c) != std::string_view::npos; };
  const auto button = [&](int32_t type, int64_t number) {
    EventRecord r = PointRecord(type, location, number, pressure, tilt, 1);
    r.tabletButton = true;
    poster.Post(r);
  };
  if (has('L')) button(isDown ? t::kLeftMouseDown : t::kLeftMouseUp, 0);
  if (has('M')) button(isDown ? t::kOtherMouseDown : t::kOtherMouseUp, 2);
  if (has('R')) button(isDown ? t::kRightMouseDown : t::kRightMouseUp, 1);
  if (isDown && has('+')) PostWheel(poster, kMouseStringWheelStep);
  if (isDown && has('-')) PostWheel(poster, -kMouseStringWheelStep);
}

void PostWheel(IEventPoster& poster, int64_t step) {
  EventRecord r;
  r.type = t::kScrollWheel;
  r.SetInteger(f::kScrollDeltaAxis1, step);
  poster.Post(r);
}

void PostFKey(IEventPoster& poster, int index) {
  const auto code = MediaKeyForSoftKey(index);
  if (!code) return;
  PostMediaKey(poster, *code, kMediaKeyDownFlags);
  PostMediaKey(poster, *code, kMediaKeyUpFlags);
}

void PostKey(IEventPoster& poster, std::string_view keys, bool isDown) {
  std::string rest(keys);

  uint64_t modifierFlags = 0;
  for (const ModifierKey& m : ModifierKeys()) {
    if (!RemoveAll(rest, m.symbol)) continue;
    modifierFlags |= m.flagMask;
    EventRecord r = KeyboardRecord(0, isDown);
    r.type = t::kFlagsChanged;
    r.flags = isDown ? m.flagMask : 0;
    r.SetInteger(f::kKeycode, m.keyCode);
    poster.Post(r);
  }

  // Named keys in the order they appear, each once; at every "∙" the longest
  // name that starts there is taken, so "∙F10" is never read as "∙F1" + "0".
  std::array<uint16_t, 28> named{};
  size_t namedCount = 0;
  std::string left;
  left.reserve(rest.size());
  for (size_t i = 0; i < rest.size();) {
    const NamedKey* match = nullptr;
    for (const NamedKey& k : NamedKeys()) {
      if (std::string_view(rest).substr(i, k.name.size()) == k.name) {
        match = &k;
        break;
      }
    }
    if (match == nullptr) {
      left.push_back(rest[i++]);
      continue;
    }
    bool seen = false;
    for (size_t n = 0; n < namedCount; ++n) seen = seen || named[n] == match->keyCode;
    if (!seen) named[namedCount++] = match->keyCode;
    i += match->name.size();
  }
  for (size_t n = 0; n < namedCount; ++n) PostKeyCode(poster, named[n], isDown, modifierFlags);

  // Characters in string order. A shifted character adds Shift for itself
  // only: "Ab" types "A" then "b", not "A" then "B".
  for (char c : left) {
    if (const auto code = UnshiftedKeyCode(c)) {
      PostKeyCode(poster, *code, isDown, modifierFlags);
    } else if (const auto shifted = ShiftedKeyCode(c)) {
      PostKeyCode(poster, *shifted, isDown, modifierFlags | kFlagShift);
    }
  }
}

}  // namespace penmac
