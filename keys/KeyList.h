#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/KeyDefinition.h"
#include "keys/KeyboardLayout.h"

namespace pen {

// The modifier byte of a key definition, as the definitions files and
// "TabletWheel.ini" store it.
namespace modifier {
constexpr uint8_t kCtrl = 0x01;
constexpr uint8_t kAlt = 0x02;
constexpr uint8_t kShift = 0x04;
}  // namespace modifier

// The modifier set key synthesis takes: another bit order than the stored
// modifier byte.
using ShiftState = uint8_t;
namespace shift_state {
constexpr ShiftState kShift = 0x01;
constexpr ShiftState kAlt = 0x02;
constexpr ShiftState kCtrl = 0x04;
}  // namespace shift_state

// Key codes that are the program's own actions, not virtual keys.
namespace key_code {
constexpr uint16_t kNone = 0;
constexpr uint16_t kMouseLeft = 1;
constexpr uint16_t kMouseRight = 2;
constexpr uint16_t kMouseMiddle = 4;
constexpr uint16_t kWheelUp = 5;
constexpr uint16_t kWheelDown = 6;
constexpr uint16_t kLastMouseAction = 6;
constexpr uint16_t kModifiersOnly = 255;
}  // namespace key_code

// The 32 two-byte definitions of the connected model, slot by slot.
using ButtonDefinitions = std::array<uint8_t, 64>;

// The key the tablet keeps for the pen's second side button: a USB HID
// keyboard usage with HID modifier bits (bit 0 Ctrl, bit 1 Shift, bit 2 Alt).
struct SelfDefinedKey {
  uint8_t KeyUsage = 29;     // 'z'
  uint8_t KeyModifiers = 1;  // Ctrl
};

// One entry of the key catalogue that every key editor lists.
struct CatalogueEntry {
  std::string_view name;
  uint8_t code;
};

constexpr size_t kCatalogueSize = 33;
// Index 0 is the empty entry; the editors list the names in this order.
extern const std::array<CatalogueEntry, kCatalogueSize> KeyCatalogue;

// The printable character of each HID keyboard usage 0..87, '~' for none.
constexpr size_t kUsageCount = 88;
extern const std::array<char, kUsageCount> UsageCharTable;

// '+' and '*' are the keypad keys whatever the layout; any other character
// is what the layout says (shift state in the high byte).
uint16_t CharToKeyCode(char ch, const IKeyboardLayout& layout);

ShiftState ModifiersToShiftState(uint8_t modifiers);

// The definition the pen's second side button sends for the tablet's own
// key; usages beyond the table give Ctrl+Z.
KeyDefinition SelfDefinedKeyToDefinition(uint8_t usage, uint8_t hidModifiers, const IKeyboardLayout& layout);

// The name the settings windows show for a key code ("" for none).
std::string KeyCodeName(uint16_t code, const IKeyboardLayout& layout);

// "Shift + Ctrl + Alt + F1" style caption of a definition. With `twoLines`
// a carriage return goes before "Alt" once the caption is longer than 12
// characters, for captions that wrap.
std::string KeyDefinitionText(const KeyDefinition& def, const IKeyboardLayout& layout, bool twoLines = false);

// What a key editor takes from the user: one typed character, or a
// catalogue name (case does not matter). Anything else gives 0.
uint8_t KeyCodeFromText(std::string_view text, const IKeyboardLayout& layout);

}  // namespace pen
