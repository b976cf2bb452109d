#include "mac/USBDelegate.h"

#include <utility>

#include "mac/EventPosting.h"
#include "pipeline/ReportLayout.h"

namespace penmac {

namespace {

namespace t = event_type;
// Offsets count the report ID, which penmac keeps.
namespace dig = pen::report_layout::digitizer;

constexpr int64_t kReportSize = 64;
constexpr double kSquare = 4096;  // tablet positions 0..4095 on both axes
constexpr double kCentre = 2048;
constexpr double kOldRestPressure = 1450;
constexpr double kOldPressureSpan = 384;
constexpr double kNewPressureScale = 0.001953125;  // 1/512
constexpr double kStripPressureMargin = 100;
constexpr int kSoftKeys = 10;
constexpr double kTiltUnit = 85;
constexpr double kJitterHalf = 3;

// Button mask bits 12 and 13: the pen's side buttons, one value in byte 9.
constexpr uint16_t kSide1Bit = 1u << 12;
constexpr uint16_t kSide2Bit = 1u << 13;

bool InSquare(Point p) { return p.x >= 0 && p.x < kSquare && p.y >= 0 && p.y < kSquare; }

double Clamp1(double v) { return v < -1 ? -1 : (v > 1 ? 1 : v); }

// A product name may carry any character; the file name keeps it except for
// the ones that would leave the folder or end the name.
std::string FileBaseName(const std::string& deviceName) {
  std::string name = deviceName;
  for (char& c : name) {
    if (c == '/' || c == '\0') c = '_';
  }
  return name;
}

bool Contains(const std::string& s, char c) { return s.find(c) != std::string::npos; }

}  // namespace

USBDelegate::USBDelegate(const USBDelegatePorts& ports)
    : ports_(ports),
      monitor_({HIDMonitorData{kTabletVendorId, kTabletProductId, std::nullopt, std::nullopt}}, kReportSize,
               ports.hid, ports.center) {
  rfDeviceDeamon = std::thread([this] { monitor_.start(); });
  observerPlugIn = ports_.center.AddObserverOnMainQueue(HIDDeviceConnected, [this](const Notification& n) { onPlugin(n); });
  observerPlugOut =
      ports_.center.AddObserverOnMainQueue(HIDDeviceDisconnected, [this](const Notification& n) { onPlugout(n); });
  observerData = ports_.center.AddObserverOnMainQueue(HIDDeviceDataReceived, [this](const Notification& n) { onData(n); });
  ports_.runLoop.ScheduleRepeatingTimer(kTimerSeconds, [this] { TimerTick(); });
}

USBDelegate::~USBDelegate() {
  ports_.hid.Stop();
  if (rfDeviceDeamon.joinable()) rfDeviceDeamon.join();
  // Whatever is still down would stay down on the system after the program
  // has gone.
  ReleaseAll();
  for (const auto& token : {observerPlugIn, observerPlugOut, observerData}) {
    if (token) ports_.center.RemoveObserver(*token);
  }
}

void USBDelegate::Changed() {
  if (onChange) onChange();
}

void USBDelegate::SetButtonId(uint16_t value) {
  if (buttonId == value) return;
  buttonId = value;
  Changed();
}

void USBDelegate::SetDeviceName(std::string value) {
  deviceName = std::move(value);
  Changed();
}

void USBDelegate::onPlugin(const Notification& notification) {
  const auto* entry = std::get_if<DeviceEntry>(&notification.object);
  if (entry == nullptr) return;
  deviceName = entry->device.name;
  version = entry->device.version;
  Changed();
  GetConfig();
}

void USBDelegate::onPlugout(const Notification&) {
  // A key held when the tablet went away would never see its release.
  ReleaseHeldDefinition();
  isLeft = isRight = isMid = false;
  SetDeviceName(kTabletDisconnected);
}

void USBDelegate::onData(const Notification& notification) {
  const auto* entry = std::get_if<DataEntry>(&notification.object);
  if (entry == nullptr) return;
  if (entry->data.size() < kMinReportSize) return;
  bytes = entry->data;
  ProcessReport();
}

// ---- readers ---------------------------------------------------------------

double USBDelegate::Word(size_t offset) const { return bytes.bytes[offset] * 256 + bytes.bytes[offset + 1]; }

Point USBDelegate::AbsPoint() const { return {Word(dig::kX), Word(dig::kY)}; }

double USBDelegate::AbsPressure() const { return Word(dig::kPressure); }

double USBDelegate::Threshold() const {
  // Older firmware sends no rest pressure of its own.
  if (version >= kNewFirmware) return Word(dig::kRest);
  return kOldRestPressure;
}

uint16_t USBDelegate::ButtonBits() const {
  unsigned mask = dig::KeyBits(bytes.bytes[dig::kKeysLow], bytes.bytes[dig::kKeysHigh]);
  if (bytes.bytes[dig::kSide] == dig::kSideValue1) mask |= kSide1Bit;
  if (bytes.bytes[dig::kSide] == dig::kSideValue2) mask |= kSide2Bit;
  return static_cast<uint16_t>(mask);
}

int USBDelegate::Wheel() const { return dig::WheelStep(bytes.bytes[dig::kKeysHigh]); }

// Unsigned here: the tilt mapping gives 128 its own meaning.
Point USBDelegate::Tilt() const {
  return {static_cast<double>(bytes.bytes[dig::kTilt13]), static_cast<double>(bytes.bytes[dig::kTilt14])};
}

double USBDelegate::PressureMap() const {
  double d = Threshold() - AbsPressure();
  d = version < kNewFirmware ? d / kOldPressureSpan : d * kNewPressureScale;
  if (d < 0) return 0;
  return d < 1.0 ? d : 1.0;
}

Point USBDelegate::TiltMap() const {
  if (version < kNewFirmware) return {};
  const auto axis = [](double t) {
    if (t > 128) t -= 256;  // 129..255 are -127..-1; 128 stays +128
    return Clamp1(t / kTiltUnit);
  };
  const Point tilt = Tilt();
  return RotateQuarterTurns({axis(tilt.x), axis(tilt.y)}, QuarterTurns(screenConfig.Rotation));
}

Point USBDelegate::ScreenMap() {
  const Point p = AbsPoint();
  if (!InSquare(p)) return {};
  Point q = RotateQuarterTurns({p.x - kCentre, p.y - kCentre}, QuarterTurns(screenConfig.Rotation));
  q.y = -q.y;
  const Rect& rect = screenConfig.Rect;
  q.x = q.x * rect.size.width / kSquare;
  q.y = q.y * rect.size.height / kSquare;
  const Point r{q.x + rect.MidX(), q.y + rect.MidY()};
  const Point converted = ports_.screens.ToEventSpace(r).value_or(r);
  if (gitterRect.Contains(converted)) return {};
  gitterRect = Rect{};
  return converted;
}

// ---- processing ------------------------------------------------------------

void USBDelegate::ProcessReport() {
  if (!keySetup) {
    if (ProcessButtons()) return;
  } else {
    // Key setup acts on no button, but a definition held from before it
    // began still goes up with its buttons.
    if (heldDefinition_ && (ButtonBits() & heldMask_) == 0) {
      ReleaseHeldDefinition();
      isLeft = isRight = isMid = false;
    }
    if (ButtonBits() != 0 && buttonId == 0) SetButtonId(ButtonBits());
  }

  if (const int wheel = Wheel(); wheel != 0) {
    PostWheel(ports_.poster, wheel);
    return;
  }

  const Point abs = AbsPoint();
  if (!InSquare(abs)) {
    if (AbsPressure() < Threshold() - kStripPressureMargin && abs.y > kSquare) {
      const int i = static_cast<int>(abs.x) * kSoftKeys / static_cast<int>(kSquare) + 1;
      if (i != preMultiMedia) {
        preMultiMedia = i;
        PostFKey(ports_.poster, i);
      }
    } else {
      preMultiMedia = 0;
    }
    return;
  }
  ProcessPen();
}

bool USBDelegate::ProcessButtons() {
  const uint16_t old = buttonId;
  const uint16_t now = ButtonBits();
  if (old == now) return false;
  const auto it = keyDefs.find(static_cast<uint16_t>(old | now));
  if (it == keyDefs.end()) {
    // No definition speaks for this change, but the buttons of the held one
    // are all up: it goes up with them rather than stay down for good.
    if (heldDefinition_ && (now & heldMask_) == 0) {
      ReleaseHeldDefinition();
      isLeft = isRight = isMid = false;
      SetButtonId(now);
    }
    return false;
  }

  // A change that only lets go of buttons releases the combination, also
  // when some of its buttons are still held: a chord let go one button at a
  // time must not press its keys a second time and leave them down.
  const bool down = (now & ~old) != 0;
  if (down) {
    // A chord takes over from the definition held so far, which goes up
    // first: nothing would release it later.
    ReleaseHeldDefinition();
    heldMask_ = static_cast<uint16_t>(old | now);
    PressDefinition(it->second);
  } else {
    ReleaseHeldDefinition();
    isLeft = isRight = isMid = false;
  }
  SetButtonId(now);
  return true;
}

void USBDelegate::PressDefinition(const KeyDef& def) {
  heldDefinition_ = def;
  PostKey(ports_.poster, def.key, true);
  PostMouse(ports_.poster, def.mouse, Point{}, 1.0, preTilt, true);
  if (Contains(def.mouse, '+')) PostWheel(ports_.poster, kMouseStringWheelStep);
  if (Contains(def.mouse, '-')) PostWheel(ports_.poster, -kMouseStringWheelStep);
  isLeft = Contains(def.mouse, 'L');
  isRight = Contains(def.mouse, 'R');
  isMid = Contains(def.mouse, 'M');
}

void USBDelegate::ReleaseHeldDefinition() {
  if (!heldDefinition_) return;
  PostKey(ports_.poster, heldDefinition_->key, false);
  PostMouse(ports_.poster, heldDefinition_->mouse, Point{}, 0.0, preTilt, false);
  heldDefinition_.reset();
  heldMask_ = 0;
}

void USBDelegate::ReleaseAll() {
  ReleaseHeldDefinition();
  isLeft = isRight = isMid = false;
  if (isProximity) PenLeaves();
}

void USBDelegate::ProcessPen() {
  preMultiMedia = 0;
  ++dataCount;
  const Point loc = ScreenMap();
  const double p = PressureMap();
  const Point tilt = TiltMap();

  if (!isProximity) {
    isProximity = true;
    PostProximity(ports_.poster, loc, true);
    return;
  }

  const double pp = prePressure;
  if (pp == 0 && p != 0) {
    if (loc == Point{}) {
      ++clickNum;
    } else {
      gitterRect = Rect{{loc.x - kJitterHalf, loc.y - kJitterHalf}, {2 * kJitterHalf, 2 * kJitterHalf}};
      clickNum = 1;
    }
    PostPoint(ports_.poster, t::kLeftMouseDown, loc, 0, p, tilt, clickNum);
  } else if (pp != 0 && p == 0) {
    PostPoint(ports_.poster, t::kLeftMouseUp, loc, 0, 0, tilt, clickNum);
  } else if (pp != 0 && p != 0) {
    PostPoint(ports_.poster, t::kLeftMouseDragged, loc, 0, p, tilt, 1);
  } else if (isLeft) {
    PostPoint(ports_.poster, t::kLeftMouseDragged, loc, 0, 1.0, tilt, 1);
  } else if (isRight) {
    PostPoint(ports_.poster, t::kRightMouseDragged, loc, 1, 1.0, tilt, 1);
  } else if (isMid) {
    PostPoint(ports_.poster, t::kOtherMouseDragged, loc, 2, 1.0, tilt, 1);
  } else {
    PostPoint(ports_.poster, t::kMouseMoved, loc, 0, 0, tilt, 1);
  }
  prePressure = p;
  preLocation = loc;
  preTilt = tilt;
}

void USBDelegate::PenLeaves() {
  if (prePressure != 0) PostPoint(ports_.poster, t::kLeftMouseUp, preLocation, 0, 0, preTilt, 1);
  PostProximity(ports_.poster, preLocation, false);
  isProximity = false;
  preMultiMedia = 0;
  prePressure = 0;
  preTilt = {};
  preLocation = {};
}

void USBDelegate::TimerTick() {
  if (isProximity && dataCount == 0) {
    PenLeaves();
    return;
  }
  if (dataCount == 0) {
    clickNum = 1;
  } else {
    dataCount = 0;
  }
}

// ---- configuration files ---------------------------------------------------

std::string USBDelegate::ScreenFileName() const { return FileBaseName(deviceName) + ".scrn"; }
std::string USBDelegate::KeysFileName() const { return FileBaseName(deviceName) + ".keys"; }

}  // namespace penmac
