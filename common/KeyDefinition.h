#pragma once
#include <cstdint>

namespace pen {

// What a tablet key does: two bytes, modifier byte first, as stored in the
// button definitions files and "TabletWheel.ini". Here rather than beside
// the key catalogue because the model catalogue's factory tables are made
// of them.
struct KeyDefinition {
  uint8_t extraKey = 0;  // modifier byte
  uint8_t MainKey = 0;   // key code
  constexpr bool Empty() const { return extraKey == 0 && MainKey == 0; }
  friend constexpr bool operator==(const KeyDefinition&, const KeyDefinition&) = default;
};

}  // namespace pen
