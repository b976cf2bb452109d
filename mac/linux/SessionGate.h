#pragma once
#include <array>
#include <bitset>
#include <cstdint>

#include "mac/linux/LinuxEventPoster.h"

namespace penmac::linux_layer {

// Between the poster and the input devices: input reaches the desktop only
// while the user's session is the active one. The devices stay, but when
// another user's session comes to the front (a fast user switch, the lock
// screen of another seat user) everything this driver holds down is let go
// there and nothing more is posted until the session is active again, so
// that the tablet cannot type into a session that is not its user's.
//
// On the way back only the pen's own state returns (near the tablet,
// touching it), with its next event: a key or button held across the switch
// stays up until it is pressed anew.
class SessionGate : public IVirtualInput {
 public:
  explicit SessionGate(IVirtualInput& devices);

  void SetActive(bool active);
  bool Active() const { return active_; }

  void Emit(VirtualDevice device, uint16_t type, uint16_t code, int32_t value) override;
  void Sync(VirtualDevice device) override;

 private:
  static constexpr size_t kKeys = 0x300;  // KEY_CNT
  struct State {
    std::bitset<kKeys> wanted;  // held as far as the poster knows
    std::bitset<kKeys> sent;    // held on the device
    bool framePending = false;  // events sent since the last Sync
    bool penStateToRestore = false;
  };
  State& Of(VirtualDevice device) { return states_[static_cast<size_t>(device)]; }
  void Forward(VirtualDevice device, uint16_t type, uint16_t code, int32_t value);

  IVirtualInput& devices_;
  bool active_ = true;
  std::array<State, 3> states_{};
};

}  // namespace penmac::linux_layer
