#pragma once
// The three virtual devices as a list of the evdev events written to them.
#include <linux/input-event-codes.h>

#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "mac/linux/LinuxEventPoster.h"

namespace penmac::linux_layer {

using Event = std::tuple<VirtualDevice, uint16_t, uint16_t, int32_t>;

class FakeInput : public IVirtualInput {
 public:
  std::vector<Event> events;  // SYN_REPORT included
  void Emit(VirtualDevice d, uint16_t type, uint16_t code, int32_t value) override {
    events.emplace_back(d, type, code, value);
  }
  void Sync(VirtualDevice d) override { events.emplace_back(d, EV_SYN, SYN_REPORT, 0); }
  std::vector<Event> Take() { return std::exchange(events, {}); }
};

// What a reader of the devices knows after `events`: each key's and axis's
// last value.
inline std::map<std::tuple<VirtualDevice, uint16_t, uint16_t>, int32_t> StateAfter(const std::vector<Event>& events) {
  std::map<std::tuple<VirtualDevice, uint16_t, uint16_t>, int32_t> state;
  for (const auto& [device, type, code, value] : events) {
    if (type != EV_SYN) state[{device, type, code}] = value;
  }
  return state;
}

}  // namespace penmac::linux_layer
