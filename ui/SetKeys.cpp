#include "ui/SetKeys.h"

#include <algorithm>

namespace pen {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return Upper(x) == Upper(y);
         });
}

const std::string kNoCaption;

}  // namespace

TSetKeys::TSetKeys(const SetKeysModel& model, const IKeyboardLayout& layout) : model_(model), layout_(layout) {}

void TSetKeys::SetDefinitions(ButtonDefinitions* definitions) {
  definitions_ = definitions;
  Reload();
}

void TSetKeys::FormShow(std::u16string_view buttonNoText, std::u16string_view resetText) {
  buttonNoText_ = buttonNoText;
  resetText_ = resetText;
  Reload();
  FlatBtnClick(1);
}

void TSetKeys::Reload() {
  if (!definitions_) return;
  std::copy_n(definitions_->begin(), model_.bytes, working_.begin());
  for (size_t b = 1; b <= model_.buttons; ++b) RebuildCaption(b);
}

KeyDefinition TSetKeys::Working(size_t button) const {
  const size_t at = 2 * (button - 1);
  if (button < 1 || at + 1 >= model_.bytes) return {};
  return {working_[at], working_[at + 1]};
}

const std::string& TSetKeys::ButtonCaption(size_t button) const {
  return button >= 1 && button <= model_.buttons ? captions_[button - 1] : kNoCaption;
}

void TSetKeys::RebuildCaption(size_t button) {
  if (button < 1 || button > model_.buttons) return;
  captions_[button - 1] = KeyDefinitionText(Working(button), layout_, true);
}

int TSetKeys::NamedKeyIndex(uint8_t code) const {
  if (code == 0) return 0;
  for (size_t i = 1; i < KeyCatalogue.size(); ++i) {
    if (KeyCatalogue[i].code == code) return static_cast<int>(i);
  }
  return 0;
}

void TSetKeys::FlatBtnClick(size_t button) {
  if (button < 1 || button > model_.buttons) return;
  selected_ = button;
  const KeyDefinition def = Working(button);
  result_ = captions_[button - 1];
  shift_ = def.extraKey & modifier::kShift;
  ctrl_ = def.extraKey & modifier::kCtrl;
  alt_ = def.extraKey & modifier::kAlt;
  comboText_ = KeyCodeName(def.MainKey, layout_);
  const int named = NamedKeyIndex(def.MainKey);
  // The shown name is also the selected item, so that applying a button
  // unchanged (or with other modifiers) keeps its named key.
  keyRecognised_ = named ? named : comboText_.empty() ? 0 : kSingleCharacter;
  comboIndex_ = named ? named : -1;
}

void TSetKeys::cbb1Change(std::string_view typed) {
  comboText_ = typed;
  comboIndex_ = -1;
  Preview();
}

void TSetKeys::cbb1Select(int index) {
  if (index < 0 || static_cast<size_t>(index) >= KeyCatalogue.size()) return;
  comboIndex_ = index;
  comboText_ = KeyCatalogue[static_cast<size_t>(index)].name;
  Preview();
}

void TSetKeys::Preview() {
  std::string text;
  size_t lineStart = 0;
  auto join = [&text] {
    if (!text.empty()) text += " + ";
  };
  if (shift_) text += "Shift";
  if (ctrl_) {
    join();
    text += "Ctrl";
  }
  if (alt_) {
    join();
    if (text.size() > kTwoLineLimit) {
      text += '\r';
      lineStart = text.size();
    }
    text += "Alt";
  }
  keyRecognised_ = 0;
  std::string key;
  if (comboText_.size() == 1) {
    comboText_[0] = Upper(comboText_[0]);
    key = comboText_;
    keyRecognised_ = kSingleCharacter;
  } else if (!comboText_.empty()) {
    for (size_t i = 1; i < KeyCatalogue.size(); ++i) {
      if (SameNameIgnoringCase(comboText_, KeyCatalogue[i].name)) {
        comboText_ = KeyCatalogue[i].name;
        key = comboText_;
        keyRecognised_ = static_cast<int>(i);
        break;
      }
    }
  }
  if (keyRecognised_ != 0) {
    join();
    if (text.size() - lineStart > kTwoLineLimit) text += '\r';
    text += key;
  }
  result_ = text;
}

void TSetKeys::BtnUpdateClick() {
  captions_[selected_ - 1] = result_;
  if (keyRecognised_ == 0) {
    comboIndex_ = 0;
    comboText_.clear();
  }
  const uint8_t modifiers = static_cast<uint8_t>((shift_ ? modifier::kShift : 0) | (alt_ ? modifier::kAlt : 0) |
                                                 (ctrl_ ? modifier::kCtrl : 0));
  uint8_t code = 0;
  if (comboText_.size() == 1) {
    code = static_cast<uint8_t>(CharToKeyCode(comboText_[0], layout_) & 0xFF);
  } else if (!comboText_.empty() && comboIndex_ > 0) {
    code = KeyCatalogue[static_cast<size_t>(comboIndex_)].code;
  }
  const size_t at = 2 * (selected_ - 1);
  if (at + 1 < model_.bytes) {
    working_[at] = modifiers;
    working_[at + 1] = code;
  }
}

void TSetKeys::BtnResetClick() {
  const size_t at = 2 * (selected_ - 1);
  if (at + 1 >= model_.bytes) return;
  const KeyDefinition def = SetKeysDefault(model_, selected_);
  working_[at] = def.extraKey;
  working_[at + 1] = def.MainKey;
  RebuildCaption(selected_);
  FlatBtnClick(selected_);
}

bool TSetKeys::CloseBtnClick() {
  if (!definitions_) return false;
  bool changed = false;
  for (size_t i = 0; i < model_.bytes; ++i) {
    if ((*definitions_)[i] != working_[i]) {
      (*definitions_)[i] = working_[i];
      changed = true;
    }
  }
  return changed;
}

}  // namespace pen
