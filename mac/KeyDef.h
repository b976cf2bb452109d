#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace penmac {

// The function of one tablet button combination: a key string (named keys,
// characters, then the modifier symbols) and a mouse string (any of "L", "M",
// "R", "+", "-").
struct KeyDef {
  std::string key;
  std::string mouse;
  bool operator==(const KeyDef&) const = default;
};

// Button mask -> definition. Ordered, so that the keys file lists the masks
// in the same order every time it is written.
using KeyDefs = std::map<uint16_t, KeyDef>;

}  // namespace penmac

template <>
struct std::hash<penmac::KeyDef> {
  size_t operator()(const penmac::KeyDef& d) const noexcept {
    const size_t a = std::hash<std::string>{}(d.key);
    return a ^ (std::hash<std::string>{}(d.mouse) + 0x9e3779b97f4a7c15ULL + (a << 6) + (a >> 2));
  }
};
