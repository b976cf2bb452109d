#include "keys/WheelFunc.h"

#include <string>

namespace pen {

namespace {

constexpr uint8_t kVkZ = 90;
constexpr uint8_t kVkY = 89;

struct KeyPair {
  uint8_t left;
  uint8_t right;
};

// The drawing programs' own keys for turning the canvas.
constexpr KeyPair kRotateCanvasPairs[] = {{46, 35}, {57, 48}, {37, 39}, {189, 222}};

}  // namespace

TWheelFunction::TWheelFunction(const WheelFunctionPorts& ports)
    : p_(ports), prepared_(Pack(Prepared{})), worker_(&TWheelFunction::Worker, this) {}

TWheelFunction::~TWheelFunction() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    terminated_ = true;
  }
  wake_.notify_all();
  worker_.join();
}

uint64_t TWheelFunction::Pack(const Prepared& p) {
  return uint64_t{p.mode} | uint64_t{p.active} << 8 | uint64_t{p.leftKey} << 16 | uint64_t{p.rightKey} << 32 |
         uint64_t{p.leftShift} << 48 | uint64_t{p.rightShift} << 56;
}

TWheelFunction::Prepared TWheelFunction::Unpack(uint64_t w) {
  Prepared p;
  p.mode = static_cast<uint8_t>(w);
  p.active = ((w >> 8) & 0xFF) != 0;
  p.leftKey = static_cast<uint16_t>(w >> 16);
  p.rightKey = static_cast<uint16_t>(w >> 32);
  p.leftShift = static_cast<ShiftState>(w >> 48);
  p.rightShift = static_cast<ShiftState>(w >> 56);
  return p;
}

void TWheelFunction::SetWheelSettings(const WheelSettings& settings) {
  // HideWheel belongs to the overlay, not to the actions.
  for (size_t i = 0; i < wheel_field::kHideWheel; ++i) settings_[i] = settings[i];
}

void TWheelFunction::SetMode(int mode) {
  Prepared p = Unpack(prepared_.load());
  p.mode = static_cast<uint8_t>(mode);
  auto keysFrom = [&](size_t leftField, size_t rightField) {
    p.leftShift = ModifiersToShiftState(settings_[leftField]);
    p.leftKey = settings_[leftField + 1];
    p.rightShift = ModifiersToShiftState(settings_[rightField]);
    p.rightKey = settings_[rightField + 1];
    p.active = true;
  };
  switch (mode) {
    case wheel_function::kLineWidth: keysFrom(wheel_field::kLineWidthRLeft, wheel_field::kLineWidthRRight); break;
    case wheel_function::kZoom: keysFrom(wheel_field::kZoomRLeft, wheel_field::kZoomRRight); break;
    case wheel_function::kUserKey: keysFrom(wheel_field::kUserKeyRLeft, wheel_field::kUserKeyRRight); break;
    case wheel_function::kRotateCanvas: {
      const uint8_t type = settings_[wheel_field::kRotateCanvasType];
      p.leftShift = p.rightShift = 0;
      p.active = type < std::size(kRotateCanvasPairs);
      if (p.active) {
        p.leftKey = kRotateCanvasPairs[type].left;
        p.rightKey = kRotateCanvasPairs[type].right;
      }
      break;
    }
    case wheel_function::kUndoRedo: {
      const uint8_t type = settings_[wheel_field::kUndoRedoType];
      // Any other type is no pair at all: the function does nothing rather
      // than send the keys of whichever function was prepared before.
      p.active = type <= 1;
      if (type == 0) {
        p.leftKey = kVkZ;
        p.leftShift = shift_state::kCtrl;
        p.rightKey = kVkY;
        p.rightShift = shift_state::kCtrl;
      } else if (type == 1) {
        p.leftKey = kVkZ;
        p.leftShift = shift_state::kCtrl | shift_state::kAlt;
        p.rightKey = kVkZ;
        p.rightShift = shift_state::kCtrl | shift_state::kShift;
      }
      break;
    }
    default: break;  // MouseWheel, DisableAll, Volume: keys unchanged
  }
  prepared_.store(Pack(p));
}

void TWheelFunction::ExecuteStep(uint8_t step) {
  const Prepared p = Unpack(prepared_.load());
  const bool left = (step & 0x80) != 0;
  const int mode = p.mode;
  const char* side = left ? "left" : "right";
  switch (mode) {
    case wheel_function::kDisableAll: return;
    case wheel_function::kMouseWheel:
      TraceLine(p_.trace, "wheel MouseWheel %s: notch %s", side, left ? "up" : "down");
      PostWheelNotch(p_.synth, left);
      return;
    case wheel_function::kVolume:
      TraceLine(p_.trace, "wheel Volume %s: volume %s", side, left ? "down" : "up");
      if (left) {
        p_.volume.VolumeDown();
      } else {
        p_.volume.VolumeUp();
      }
      return;
    case wheel_function::kLineWidth:
    case wheel_function::kZoom:
    case wheel_function::kRotateCanvas:
    case wheel_function::kUserKey:
    case wheel_function::kUndoRedo: {
      if (!p.active) return;
      const uint16_t key = left ? p.leftKey : p.rightKey;
      const ShiftState shift = left ? p.leftShift : p.rightShift;
      if (p_.trace) {
        const std::string_view name = kWheelFunctionNames[static_cast<size_t>(mode)];
        // The shift state's bit swap is its own inverse: this is the modifier byte.
        const KeyDefinition def{ModifiersToShiftState(shift), static_cast<uint8_t>(key & 0xFF)};
        TraceLine(p_.trace, "wheel %.*s %s: %s (shift state %u, key %u)", static_cast<int>(name.size()), name.data(),
                  side, KeyDefinitionText(def, p_.synth.layout).c_str(), shift, key);
      }
      PostKeyPress(p_.synth, key, shift, true);
      p_.clock.Sleep(kKeyHoldMs);
      PostKeyPress(p_.synth, key, shift, false);
      return;
    }
    default: return;
  }
}

void TWheelFunction::RunStep(uint8_t step) {
  step_.store(step);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_) return;  // busy: this step is lost
    running_ = true;
  }
  wake_.notify_all();
}

void TWheelFunction::Worker() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return running_ || terminated_; });
    if (terminated_) return;
    lock.unlock();
    ExecuteStep(step_.load());
    lock.lock();
    running_ = false;
    wake_.notify_all();
  }
}

int TWheelFunction::Mode() const { return Unpack(prepared_.load()).mode; }
bool TWheelFunction::Active() const { return Unpack(prepared_.load()).active; }

bool TWheelFunction::Busy() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return running_;
}

bool TWheelFunction::WaitIdle(std::chrono::milliseconds limit) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return wake_.wait_for(lock, limit, [this] { return !running_; });
}

}  // namespace pen
