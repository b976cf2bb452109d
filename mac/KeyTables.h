#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The key strings' vocabulary: modifier symbols, named keys and the two
// character tables, each with the virtual key code of its key on the US ANSI
// layout, and the media keys of the soft-key strip. Strings are UTF-8.
namespace penmac {

struct ModifierKey {
  std::string_view symbol;
  uint64_t flagMask;
  uint16_t keyCode;
};

struct NamedKey {
  std::string_view name;  // "∙" followed by the key's name
  uint16_t keyCode;
};

struct CharacterKey {
  char character;
  uint16_t keyCode;
};

constexpr uint64_t kFlagShift = 0x20000;

// Command, Option, Shift, Control: the order in which key strings are handled.
std::span<const ModifierKey> ModifierKeys();
// The 28 named keys, longest name first, so that a search through them takes
// "∙F10" before "∙F1".
std::span<const NamedKey> NamedKeys();
std::span<const CharacterKey> UnshiftedCharacters();
std::span<const CharacterKey> ShiftedCharacters();

std::optional<uint16_t> UnshiftedKeyCode(char c);
std::optional<uint16_t> ShiftedKeyCode(char c);
// The name of a named key's code ("∙F5" for 96), for the key-setup capture.
std::optional<std::string_view> NamedKeyForCode(uint16_t keyCode);
// Media key code of soft key 1..10; nothing for any other index.
std::optional<int> MediaKeyForSoftKey(int index);

}  // namespace penmac
