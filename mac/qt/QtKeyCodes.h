#pragma once
#include <cstdint>
#include <optional>
#include <string>

class QKeyEvent;

namespace penmac::qt {

// Stands for a key that has no virtual key code of its own here: the key
// setup then takes the characters it typed.
inline constexpr uint16_t kNoKeyCode = 0xFFFF;

// The virtual key code (US ANSI layout) of a named key given by its Qt key
// (Qt::Key_F5 -> 96), nothing for any other key.
std::optional<uint16_t> NamedKeyCodeForQtKey(int qtKey);

// A key press as the key setup takes it: the virtual key code of the key
// (the named keys' through the table above, a character key's through the
// character tables; on macOS the platform's own code) and the printable
// characters it typed, in UTF-8.
struct KeyPress {
  uint16_t keyCode = kNoKeyCode;
  std::string characters;
};
KeyPress ToKeyPress(const QKeyEvent& event);

}  // namespace penmac::qt
