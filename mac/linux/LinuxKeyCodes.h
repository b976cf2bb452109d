#pragma once
#include <cstdint>
#include <optional>
#include <span>

namespace penmac::linux_layer {

// Linux input key code (KEY_*) for a virtual key code of the key strings
// (the US ANSI layout's codes, modifier keys included).
std::optional<uint16_t> LinuxKeyForKeyCode(uint16_t keyCode);
// Linux key code of a media key code of the soft-key strip. 25 has no
// known function and no counterpart.
std::optional<uint16_t> LinuxKeyForMediaKey(int mediaKey);
// Every Linux key the keyboard device may send.
std::span<const uint16_t> AllLinuxKeys();

}  // namespace penmac::linux_layer
