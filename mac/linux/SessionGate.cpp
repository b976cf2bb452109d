#include "mac/linux/SessionGate.h"

#include <linux/input-event-codes.h>

namespace penmac::linux_layer {

namespace {
bool IsTool(uint16_t code) { return code >= BTN_TOOL_PEN && code <= BTN_TOOL_LENS; }
// What the pen itself is doing (near the tablet, touching it), as opposed to
// functions a button or key holds.
bool IsPenState(uint16_t code) { return IsTool(code) || code == BTN_TOUCH; }
}  // namespace

SessionGate::SessionGate(IVirtualInput& devices) : devices_(devices) {}

void SessionGate::Forward(VirtualDevice device, uint16_t type, uint16_t code, int32_t value) {
  State& s = Of(device);
  if (type == EV_KEY && code < kKeys) s.sent[code] = value != 0;
  s.framePending = true;
  devices_.Emit(device, type, code, value);
}

void SessionGate::Emit(VirtualDevice device, uint16_t type, uint16_t code, int32_t value) {
  State& s = Of(device);
  if (type == EV_KEY && code < kKeys) s.wanted[code] = value != 0;
  if (!active_) return;
  if (s.penStateToRestore) {
    s.penStateToRestore = false;
    // The tool first: the tip touches while the pen is there.
    for (uint16_t state = BTN_TOOL_PEN; state <= BTN_TOUCH; ++state) {
      if (IsPenState(state) && state != code && s.wanted[state] && !s.sent[state]) Forward(device, EV_KEY, state, 1);
    }
  }
  // Let go of while the session was away: the device has it up already.
  if (type == EV_KEY && code < kKeys && value == 0 && !s.sent[code]) return;
  Forward(device, type, code, value);
}

void SessionGate::Sync(VirtualDevice device) {
  State& s = Of(device);
  if (!s.framePending) return;
  s.framePending = false;
  devices_.Sync(device);
}

void SessionGate::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  for (size_t d = 0; d < states_.size(); ++d) {
    const auto device = static_cast<VirtualDevice>(d);
    State& s = states_[d];
    if (active) {
      s.penStateToRestore = true;
      continue;
    }
    if (s.sent.none()) continue;
    // The pen's pressure goes with its tip.
    if (device == VirtualDevice::Pen && s.sent[BTN_TOUCH]) Forward(device, EV_ABS, ABS_PRESSURE, 0);
    for (uint16_t code = 0; code < kKeys; ++code) {
      // The tool last: the pen's buttons and tip go up while it is there.
      if (s.sent[code] && !IsTool(code)) Forward(device, EV_KEY, code, 0);
    }
    for (uint16_t code = BTN_TOOL_PEN; code <= BTN_TOOL_LENS; ++code) {
      if (s.sent[code]) Forward(device, EV_KEY, code, 0);
    }
    Sync(device);
  }
}

}  // namespace penmac::linux_layer
