#include "keys/KeyList.h"

namespace pen {

namespace {

constexpr uint8_t kVkF1 = 112;
constexpr uint16_t kVkAdd = 107;
constexpr uint16_t kVkMultiply = 106;
constexpr uint8_t kCtrlZ = 90;
constexpr size_t kTwoLineLimit = 12;

constexpr std::array<char, kUsageCount> MakeUsageChars() {
  std::array<char, kUsageCount> t{};
  for (char& c : t) c = '~';
  for (int i = 0; i < 26; ++i) t[4 + i] = static_cast<char>('a' + i);
  for (int i = 0; i < 9; ++i) t[30 + i] = static_cast<char>('1' + i);
  t[39] = '0';
  t[44] = ' ';
  t[45] = '-';
  t[46] = '=';
  t[47] = '[';
  t[48] = ']';
  t[49] = '\\';
  t[51] = ';';
  t[52] = '\'';
  t[53] = '`';
  t[54] = ',';
  t[55] = '.';
  t[56] = '/';
  t[84] = '/';
  t[85] = '*';
  t[86] = '-';
  t[87] = '+';
  return t;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

}  // namespace

const std::array<CatalogueEntry, kCatalogueSize> KeyCatalogue = {{
    {"", 0},
    {"MouseLeft", 1},
    {"MouseRight", 2},
    {"MouseMiddle", 4},  // 3 is no action
    {"Backspace", 8},
    {"Esc", 27},
    {"Tab", 9},
    {"Enter", 13},
    {"Space", 32},
    {"Home", 36},
    {"End", 35},
    {"Up", 38},
    {"Down", 40},
    {"Left", 37},
    {"Right", 39},
    {"Del", 46},
    {"Insert", 45},
    {"PgUp", 33},
    {"PgDown", 34},
    {"F1", kVkF1},
    {"F2", kVkF1 + 1},
    {"F3", kVkF1 + 2},
    {"F4", kVkF1 + 3},
    {"F5", kVkF1 + 4},
    {"F6", kVkF1 + 5},
    {"F7", kVkF1 + 6},
    {"F8", kVkF1 + 7},
    {"F9", kVkF1 + 8},
    {"F10", kVkF1 + 9},
    {"F11", kVkF1 + 10},
    {"F12", kVkF1 + 11},
    {"WheelUp", 5},
    {"WheelDown", 6},
}};

const std::array<char, kUsageCount> UsageCharTable = MakeUsageChars();

uint16_t CharToKeyCode(char ch, const IKeyboardLayout& layout) {
  if (ch == '+') return kVkAdd;
  if (ch == '*') return kVkMultiply;
  return layout.KeyForChar(ch);
}

ShiftState ModifiersToShiftState(uint8_t modifiers) {
  ShiftState s = 0;
  if (modifiers & modifier::kShift) s |= shift_state::kShift;
  if (modifiers & modifier::kAlt) s |= shift_state::kAlt;
  if (modifiers & modifier::kCtrl) s |= shift_state::kCtrl;
  return s;
}

KeyDefinition SelfDefinedKeyToDefinition(uint8_t usage, uint8_t hidModifiers, const IKeyboardLayout& layout) {
  // The tablet may report usages the table does not know; the settings
  // window shows those as Ctrl+Z, so the button sends that too.
  if (usage >= kUsageCount) return {modifier::kCtrl, kCtrlZ};
  KeyDefinition def;
  if (hidModifiers & 0x01) def.extraKey |= modifier::kCtrl;
  if (hidModifiers & 0x02) def.extraKey |= modifier::kShift;
  if (hidModifiers & 0x04) def.extraKey |= modifier::kAlt;
  def.MainKey = static_cast<uint8_t>(CharToKeyCode(Upper(UsageCharTable[usage]), layout) & 0xFF);
  return def;
}

std::string KeyCodeName(uint16_t code, const IKeyboardLayout& layout) {
  if (code == 0) return {};
  for (size_t i = 1; i < KeyCatalogue.size(); ++i) {
    if (KeyCatalogue[i].code == code) return std::string(KeyCatalogue[i].name);
  }
  const uint32_t ch = layout.MapVirtualKeyCode(code, map_type::kVirtualKeyToChar);
  if (ch >= 33 && ch <= 126) return std::string(1, Upper(static_cast<char>(ch)));
  return {};
}

std::string KeyDefinitionText(const KeyDefinition& def, const IKeyboardLayout& layout, bool twoLines) {
  std::string text;
  auto add = [&text](std::string_view part) {
    if (!text.empty()) text += " + ";
    text += part;
  };
  if (def.extraKey & modifier::kShift) add("Shift");
  if (def.extraKey & modifier::kCtrl) add("Ctrl");
  if (def.extraKey & modifier::kAlt) {
    if (!text.empty()) text += " + ";
    if (twoLines && text.size() > kTwoLineLimit) text += '\r';
    text += "Alt";
  }
  const std::string name = KeyCodeName(def.MainKey, layout);
  if (!name.empty()) add(name);
  return text;
}

uint8_t KeyCodeFromText(std::string_view text, const IKeyboardLayout& layout) {
  if (text.size() == 1) return static_cast<uint8_t>(CharToKeyCode(text[0], layout) & 0xFF);
  for (size_t i = 1; i < KeyCatalogue.size(); ++i) {
    if (SameNameIgnoringCase(text, KeyCatalogue[i].name)) return KeyCatalogue[i].code;
  }
  return 0;
}

}  // namespace pen
