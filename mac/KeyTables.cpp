#include "mac/KeyTables.h"

#include <algorithm>
#include <array>

namespace penmac {

namespace {

constexpr std::array<ModifierKey, 4> kModifiers{{
    {"⌘", 0x100000, 55},
    {"⌥", 0x80000, 58},
    {"⇧", 0x20000, 56},
    {"⌃", 0x40000, 59},
}};

// Longest names first: "∙F10", "∙F12" and "∙F13" must be found before "∙F1"
// could match their first three characters. There is no F11.
constexpr std::array<NamedKey, 28> kNamedKeys{{
    {"∙F10", 109}, {"∙F12", 111}, {"∙F13", 105}, {"∙F1", 122}, {"∙F2", 120}, {"∙F3", 99},  {"∙F4", 118},
    {"∙F5", 96},   {"∙F6", 97},   {"∙F7", 98},   {"∙F8", 100}, {"∙F9", 101}, {"∙␣", 49},   {"∙⎋", 53},
    {"∙⏎", 36},    {"∙⇥", 48},    {"∙⌫", 51},    {"∙☒", 71},   {"∙⎀", 114},  {"∙⌦", 117},  {"∙⇱", 115},
    {"∙⇲", 119},   {"∙⍇", 116},   {"∙⍈", 121},   {"∙↑", 126},  {"∙←", 123},  {"∙→", 124},  {"∙↓", 125},
}};

constexpr std::array<CharacterKey, 47> kUnshifted{{
    {'a', 0},  {'b', 11}, {'c', 8},  {'d', 2},  {'e', 14}, {'f', 3},  {'g', 5},  {'h', 4},  {'i', 34}, {'j', 38},
    {'k', 40}, {'l', 37}, {'m', 46}, {'n', 45}, {'o', 31}, {'p', 35}, {'q', 12}, {'r', 15}, {'s', 1},  {'t', 17},
    {'u', 32}, {'v', 9},  {'w', 13}, {'x', 7},  {'y', 16}, {'z', 6},  {'0', 29}, {'1', 18}, {'2', 19}, {'3', 20},
    {'4', 21}, {'5', 23}, {'6', 22}, {'7', 26}, {'8', 28}, {'9', 25}, {'=', 24}, {'-', 27}, {']', 30}, {'[', 33},
    {'\'', 39}, {';', 41}, {'\\', 42}, {',', 43}, {'/', 44}, {'.', 47}, {'`', 50},
}};

constexpr std::array<CharacterKey, 47> kShifted{{
    {'A', 0},  {'B', 11}, {'C', 8},  {'D', 2},  {'E', 14}, {'F', 3},  {'G', 5},  {'H', 4},  {'I', 34}, {'J', 38},
    {'K', 40}, {'L', 37}, {'M', 46}, {'N', 45}, {'O', 31}, {'P', 35}, {'Q', 12}, {'R', 15}, {'S', 1},  {'T', 17},
    {'U', 32}, {'V', 9},  {'W', 13}, {'X', 7},  {'Y', 16}, {'Z', 6},  {'!', 18}, {'@', 19}, {'#', 20}, {'$', 21},
    {'%', 23}, {'^', 22}, {'&', 26}, {'*', 28}, {'(', 25}, {')', 29}, {'+', 24}, {'_', 27}, {'}', 30}, {'{', 33},
    {':', 41}, {'|', 42}, {'<', 43}, {'?', 44}, {'>', 47}, {'~', 50}, {'"', 39},
}};

// mute, volume down, volume up, rewind, play/pause, previous, next,
// brightness up, brightness down, and 25 for the tenth key.
constexpr std::array<int, 10> kMediaKeys{7, 1, 0, 20, 16, 18, 17, 2, 3, 25};

std::optional<uint16_t> Find(std::span<const CharacterKey> table, char c) {
  const auto it = std::find_if(table.begin(), table.end(), [c](const CharacterKey& k) { return k.character == c; });
  if (it == table.end()) return std::nullopt;
  return it->keyCode;
}

}  // namespace

std::span<const ModifierKey> ModifierKeys() { return kModifiers; }
std::span<const NamedKey> NamedKeys() { return kNamedKeys; }
std::span<const CharacterKey> UnshiftedCharacters() { return kUnshifted; }
std::span<const CharacterKey> ShiftedCharacters() { return kShifted; }

std::optional<uint16_t> UnshiftedKeyCode(char c) { return Find(kUnshifted, c); }
std::optional<uint16_t> ShiftedKeyCode(char c) { return Find(kShifted, c); }

std::optional<std::string_view> NamedKeyForCode(uint16_t keyCode) {
  for (const NamedKey& k : kNamedKeys) {
    if (k.keyCode == keyCode) return k.name;
  }
  return std::nullopt;
}

std::optional<int> MediaKeyForSoftKey(int index) {
  if (index < 1 || index > static_cast<int>(kMediaKeys.size())) return std::nullopt;
  return kMediaKeys[static_cast<size_t>(index - 1)];
}

}  // namespace penmac
