#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "keys/KeyList.h"
#include "keys/KeyboardLayout.h"
#include "ui/SetKeysModels.h"

namespace pen {

// A model key-setup window: the tablet's buttons, each showing its key
// combination, and an editor for the selected one, independent of how it is
// drawn. One class serves every model; its family's row in the model
// catalogue gives the buttons, the bytes it edits, the layout and the
// defaults.
//
// The window edits a working copy and writes what differs into the
// definitions it was handed when it closes; there is no cancel.
class TSetKeys {
 public:
  // KeyRecognised: nothing, an index 1..32 of a named key, or this.
  static constexpr int kSingleCharacter = 1000;
  static constexpr size_t kTwoLineLimit = 12;

  TSetKeys(const SetKeysModel& model, const IKeyboardLayout& layout);

  const SetKeysModel& Model() const { return model_; }

  // The definitions to edit (the caller keeps them alive while the window
  // is open); reloads the working copy from them.
  void SetDefinitions(ButtonDefinitions* definitions);
  // Before every showing: the label texts of the current language.
  void FormShow(std::u16string_view buttonNoText, std::u16string_view resetText);

  // --- the user's actions ---------------------------------------------
  void FlatBtnClick(size_t button);  // 1-based; others are ignored
  void cbb1Change(std::string_view typed);
  void cbb1Select(int index);  // a pick from the list
  void chkShiftMouseUp(bool checked) {
    shift_ = checked;
    Preview();
  }
  void chkCtrlMouseUp(bool checked) {
    ctrl_ = checked;
    Preview();
  }
  void chkAltMouseUp(bool checked) {
    alt_ = checked;
    Preview();
  }
  void BtnUpdateClick();
  void BtnResetClick();
  // Writes every byte that differs into the definitions; true (OK) when one
  // did.
  bool CloseBtnClick();

  // --- what the window shows ------------------------------------------
  size_t SelectedButton() const { return selected_; }
  const std::string& ButtonCaption(size_t button) const;
  const std::string& Result() const { return result_; }  // lblResult; "\r" breaks a line
  const std::string& ComboText() const { return comboText_; }
  int ComboIndex() const { return comboIndex_; }  // -1: no item selected
  bool Shift() const { return shift_; }
  bool Ctrl() const { return ctrl_; }
  bool Alt() const { return alt_; }
  int KeyRecognised() const { return keyRecognised_; }
  const std::u16string& ButtonNoText() const { return buttonNoText_; }
  const std::u16string& ResetText() const { return resetText_; }
  KeyDefinition Working(size_t button) const;

 private:
  void Reload();
  void RebuildCaption(size_t button);
  void Preview();
  int NamedKeyIndex(uint8_t code) const;

  const SetKeysModel& model_;
  const IKeyboardLayout& layout_;
  ButtonDefinitions* definitions_ = nullptr;
  std::array<uint8_t, kWorkingCopyBytes> working_{};
  std::array<std::string, kMaxSetKeysButtons> captions_;
  size_t selected_ = 1;
  int keyRecognised_ = 0;
  std::string result_;
  std::string comboText_;
  int comboIndex_ = -1;
  bool shift_ = false, ctrl_ = false, alt_ = false;
  std::u16string buttonNoText_ = u"Button No.";
  std::u16string resetText_ = u"Reset";
};

}  // namespace pen
