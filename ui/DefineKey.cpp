#include "ui/DefineKey.h"

namespace pen {

namespace {
constexpr uint16_t Pair(uint8_t modifiers, uint8_t key) { return static_cast<uint16_t>(modifiers | (key << 8)); }
// What each mode gives back on "Set Default": a left and a right turn.
constexpr std::array<std::array<uint16_t, 2>, 3> kDefaults = {{
    {Pair(0, 219), Pair(0, 221)},                               // "[" and "]"
    {Pair(modifier::kCtrl, 189), Pair(modifier::kCtrl, 187)},  // Ctrl + "-" and Ctrl + "="
    {Pair(0, 33), Pair(0, 34)},                                 // PgUp and PgDown
}};
}  // namespace

void TfrmDefineKey::SetKeyMode(int mode) {
  if (mode < kLineWidth || mode > kSelfDefined) return;
  mode_ = mode;
  default_ = kDefaults[static_cast<size_t>(mode)];
}

void TfrmDefineKey::FormShow(std::u16string_view resetText) {
  resetText_ = resetText;
  LoadRow(kLeft);
  LoadRow(kRight);
}

void TfrmDefineKey::LoadRow(Side side) {
  const uint8_t modifiers = static_cast<uint8_t>(combo_[side] & 0xFF);
  const uint8_t key = static_cast<uint8_t>(combo_[side] >> 8);
  Row& row = rows_[side];
  row.ctrl = modifiers & modifier::kCtrl;
  row.alt = modifiers & modifier::kAlt;
  row.shift = modifiers & modifier::kShift;
  row.text = KeyCodeName(key, layout_);
  // A named key shown is also selected: the close reads the selection, and
  // a window opened and closed untouched must give back what it was given.
  row.index = -1;
  if (key != 0) {
    for (size_t i = 1; i < KeyCatalogue.size(); ++i) {
      if (KeyCatalogue[i].code == key) {
        row.index = static_cast<int>(i);
        break;
      }
    }
  }
}

void TfrmDefineKey::Type(Side side, std::string_view text) {
  rows_[side].text = text;
  rows_[side].index = -1;
}

void TfrmDefineKey::Pick(Side side, int index) {
  if (index < 0 || static_cast<size_t>(index) >= KeyCatalogue.size()) return;
  rows_[side].index = index;
  rows_[side].text = KeyCatalogue[static_cast<size_t>(index)].name;
}

void TfrmDefineKey::btnResetKeyClick() {
  combo_ = default_;
  LoadRow(kLeft);
  LoadRow(kRight);
}

uint16_t TfrmDefineKey::ReadRow(Side side) const {
  const Row& row = rows_[side];
  uint8_t modifiers = 0;
  if (row.shift) modifiers |= modifier::kShift;
  if (row.alt) modifiers |= modifier::kAlt;
  if (row.ctrl) modifiers |= modifier::kCtrl;
  uint8_t key = 0;
  if (row.text.size() == 1) {
    key = static_cast<uint8_t>(CharToKeyCode(row.text[0], layout_) & 0xFF);
  } else if (!row.text.empty() && row.index >= 0) {
    key = KeyCatalogue[static_cast<size_t>(row.index)].code;
  }
  return Pair(modifiers, key);
}

void TfrmDefineKey::CloseBtnClick() {
  combo_[kLeft] = ReadRow(kLeft);
  combo_[kRight] = ReadRow(kRight);
}

std::array<uint8_t, 4> TfrmDefineKey::Bytes() const {
  return {static_cast<uint8_t>(combo_[kLeft] & 0xFF), static_cast<uint8_t>(combo_[kLeft] >> 8),
          static_cast<uint8_t>(combo_[kRight] & 0xFF), static_cast<uint8_t>(combo_[kRight] >> 8)};
}

}  // namespace pen
