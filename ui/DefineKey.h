#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "keys/KeyList.h"
#include "keys/KeyboardLayout.h"

namespace pen {

// The custom key window: the key pair of one wheel function, a left turn
// and a right turn, each a key chooser and Ctrl, Alt and Shift boxes,
// independent of how it is drawn. The caller sets a mode and both pairs,
// shows it modally and reads four bytes back; there is no cancel, every
// close stores what the controls show.
class TfrmDefineKey {
 public:
  enum Side { kLeft = 0, kRight = 1 };
  enum Mode { kLineWidth = 0, kZoom = 1, kSelfDefined = 2 };

  // One row of controls.
  struct Row {
    std::string text;  // the chooser's text
    int index = -1;    // the list item selected, -1 none
    bool ctrl = false, alt = false, shift = false;
  };

  explicit TfrmDefineKey(const IKeyboardLayout& layout) : layout_(layout) {}

  // 0, 1 or 2 set the mode and its defaults; any other value changes nothing.
  void SetKeyMode(int mode);
  // Low byte the modifier bits, high byte the key code.
  void SetLeftCombo(uint16_t value) { combo_[kLeft] = value; }
  void SetRightCombo(uint16_t value) { combo_[kRight] = value; }
  int KeyMode() const { return mode_; }

  // Before every showing: the language's text of "Set Default"; the rows
  // are loaded from the pairs.
  void FormShow(std::u16string_view resetText);

  // --- the user's actions -------------------------------------------------
  void Type(Side side, std::string_view text);  // typed: no list item selected
  void Pick(Side side, int index);              // a catalogue item picked
  void SetCtrl(Side side, bool on) { rows_[side].ctrl = on; }
  void SetAlt(Side side, bool on) { rows_[side].alt = on; }
  void SetShift(Side side, bool on) { rows_[side].shift = on; }
  void btnResetKeyClick();
  // Reads both rows back into the pairs; the modal result is OK.
  void CloseBtnClick();

  // --- what it shows and gives back ----------------------------------------
  const Row& Controls(Side side) const { return rows_[side]; }
  const std::u16string& ResetText() const { return resetText_; }
  // Left modifiers, left key, right modifiers, right key.
  std::array<uint8_t, 4> Bytes() const;
  uint16_t Combo(Side side) const { return combo_[side]; }
  uint16_t Default(Side side) const { return default_[side]; }

 private:
  void LoadRow(Side side);
  uint16_t ReadRow(Side side) const;

  const IKeyboardLayout& layout_;
  int mode_ = kLineWidth;
  std::array<uint16_t, 2> combo_{};
  std::array<uint16_t, 2> default_{};
  std::array<Row, 2> rows_{};
  std::u16string resetText_ = u"Set Default";
};

}  // namespace pen
