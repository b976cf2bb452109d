#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "mac/Geometry.h"

// One input event as the posting functions decide it: its type, the fields
// they set (by the numbers of the desktop event system's public field list),
// its flags, its location when one is set, and how it is created. A platform
// poster turns each record into real input; the records themselves are the
// same on every platform.
namespace penmac {

namespace event_type {
constexpr int32_t kLeftMouseDown = 1;
constexpr int32_t kLeftMouseUp = 2;
constexpr int32_t kRightMouseDown = 3;
constexpr int32_t kRightMouseUp = 4;
constexpr int32_t kMouseMoved = 5;
constexpr int32_t kLeftMouseDragged = 6;
constexpr int32_t kRightMouseDragged = 7;
constexpr int32_t kKeyDown = 10;
constexpr int32_t kKeyUp = 11;
constexpr int32_t kFlagsChanged = 12;
constexpr int32_t kSystemDefined = 14;
constexpr int32_t kScrollWheel = 22;
constexpr int32_t kTabletProximity = 24;
constexpr int32_t kOtherMouseDown = 25;
constexpr int32_t kOtherMouseUp = 26;
constexpr int32_t kOtherMouseDragged = 27;
}  // namespace event_type

namespace event_field {
constexpr int kClickState = 1;
constexpr int kButtonNumber = 3;
constexpr int kSubtype = 7;
constexpr int kKeycode = 9;
constexpr int kScrollDeltaAxis1 = 11;
constexpr int kTabletPointX = 15;
constexpr int kTabletPointY = 16;
constexpr int kTabletPointZ = 17;
constexpr int kTabletButtons = 18;
constexpr int kTabletPressure = 19;
constexpr int kTabletTiltX = 20;
constexpr int kTabletTiltY = 21;
constexpr int kTabletRotation = 22;
constexpr int kTabletTangentialPressure = 23;
constexpr int kTabletDeviceId = 24;
constexpr int kTabletVendor1 = 25;
constexpr int kTabletVendor2 = 26;
constexpr int kTabletVendor3 = 27;
constexpr int kProximityVendorId = 28;
constexpr int kProximityTabletId = 29;
constexpr int kProximityPointerId = 30;
constexpr int kProximityDeviceId = 31;
constexpr int kProximitySystemTabletId = 32;
constexpr int kProximityVendorPointerType = 33;
constexpr int kProximityVendorPointerSerial = 34;
constexpr int kProximityVendorUniqueId = 35;
constexpr int kProximityCapabilityMask = 36;
constexpr int kProximityPointerType = 37;
constexpr int kProximityEnter = 38;
constexpr int kCount = 39;
}  // namespace event_field

// Values of the subtype field.
constexpr int64_t kSubtypeTabletPoint = 1;
constexpr int64_t kSubtypeTabletProximity = 2;
// The device identity that ties pointer events to the proximity of the pen.
constexpr int64_t kTabletDeviceId = 129;

// Media keys are system-defined events of subtype 8; data1 holds the key in
// its upper half and the flag word (0xA00 down, 0xB00 up) in its lower.
constexpr int16_t kMediaKeySubtype = 8;
constexpr uint64_t kMediaKeyDownFlags = 0xA00;
constexpr uint64_t kMediaKeyUpFlags = 0xB00;

// Every event comes from a fresh source in the HID-system state and goes to
// the HID event tap; a poster on a platform with such notions uses these.
constexpr int kEventSourceStateHidSystem = 1;
constexpr int kEventTapHid = 0;

struct EventRecord {
  enum class Origin : uint8_t {
    Plain,          // an empty event whose type is then set
    Keyboard,       // a keyboard event made from a key code and a down state
    SystemDefined,  // an application-kit system-defined event (media keys)
  };

  Origin origin = Origin::Plain;
  int32_t type = 0;
  std::optional<Point> location;  // absent: the event takes the current pointer position
  std::optional<uint64_t> flags;
  // Keyboard origin: what the keyboard event was created with.
  uint16_t keyCode = 0;
  bool keyDown = false;
  // A pointer record that PostMouse made for a tablet button's definition,
  // not the pen's own: on macOS its pressure rides on a button event and is
  // harmless, a platform whose pens take any pressure for contact keeps it
  // off the pen.
  bool tabletButton = false;
  // System-defined origin.
  int16_t subtype = 0;
  int64_t data1 = 0;
  int64_t data2 = 0;

  void SetInteger(int field, int64_t v) {
    integers_[field] = v;
    integerSet_ |= uint64_t{1} << field;
  }
  void SetDouble(int field, double v) {
    doubles_[field] = v;
    doubleSet_ |= uint64_t{1} << field;
  }
  std::optional<int64_t> Integer(int field) const {
    if (!(integerSet_ >> field & 1)) return std::nullopt;
    return integers_[field];
  }
  std::optional<double> Double(int field) const {
    if (!(doubleSet_ >> field & 1)) return std::nullopt;
    return doubles_[field];
  }
  int64_t IntegerOr(int field, int64_t fallback) const { return Integer(field).value_or(fallback); }
  double DoubleOr(int field, double fallback) const { return Double(field).value_or(fallback); }
  uint64_t IntegerFieldsSet() const { return integerSet_; }
  uint64_t DoubleFieldsSet() const { return doubleSet_; }

 private:
  std::array<int64_t, event_field::kCount> integers_{};
  std::array<double, event_field::kCount> doubles_{};
  uint64_t integerSet_ = 0;
  uint64_t doubleSet_ = 0;
};

// Turns records into input on the platform. Post is called on the main
// thread only; a record the platform cannot express is skipped silently.
class IEventPoster {
 public:
  virtual ~IEventPoster() = default;
  virtual void Post(const EventRecord& record) = 0;
};

}  // namespace penmac
