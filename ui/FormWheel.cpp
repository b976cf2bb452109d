#include "ui/FormWheel.h"

#include <algorithm>

namespace pen {

namespace {
using namespace wheel_field;

constexpr uint32_t kShrunkFaceMs = 100;
constexpr uint32_t kFullFaceMs = 200;

// The language slot of each function's name.
constexpr int kFirstNameSlot = 34;
constexpr int kResetKeySlot = 14;

struct KeyPairFields {
  size_t left;
  size_t right;
  int mode;
};

KeyPairFields PairOf(int function) {
  switch (function) {
    case wheel_function::kLineWidth: return {kLineWidthRLeft, kLineWidthRRight, TfrmDefineKey::kLineWidth};
    case wheel_function::kZoom: return {kZoomRLeft, kZoomRRight, TfrmDefineKey::kZoom};
    default: return {kUserKeyRLeft, kUserKeyRRight, TfrmDefineKey::kSelfDefined};
  }
}

uint16_t ComboAt(const WheelSettings& s, size_t field) {
  return static_cast<uint16_t>(s[field] | (s[field + 1] << 8));
}
}  // namespace

TfrmWheel::TfrmWheel(const WheelWindowPorts& ports) : p_(ports), defineKey_(ports.layout) {
  p_.scrollTimer.SetOnTimer(Event<>::Bind<&TfrmWheel::ScrollTimerTick>(this));
}

TfrmWheel::~TfrmWheel() {
  p_.scrollTimer.Stop();
  p_.scrollTimer.SetOnTimer({});
}

void TfrmWheel::FormShow(TWheelData& data) {
  data_ = &data;
  changed_ = false;
  closing_ = false;
  closed_ = false;
  const WheelSettings& s = data.Settings();
  for (int i = 0; i < wheel_function::kCount; ++i) enabled_[static_cast<size_t>(i)] = s[kEnabledField[static_cast<size_t>(i)]] != 0;
  rotateType_ = s[kRotateCanvasType] <= 3 ? s[kRotateCanvasType] : -1;
  undoRedoType_ = s[kUndoRedoType] <= 1 ? s[kUndoRedoType] : -1;
  hideWheel_ = s[kHideWheel] != 0;
  ShowCurrentFunction(data.CurrentFunction);
}

void TfrmWheel::ModalEnded() {
  p_.scrollTimer.Stop();
  data_ = nullptr;
}

bool TfrmWheel::Enabled(int function) const {
  return function >= 0 && function < wheel_function::kCount && enabled_[static_cast<size_t>(function)];
}

void TfrmWheel::SetEnabled(int function, bool on) {
  if (function >= 0 && function < wheel_function::kCount) enabled_[static_cast<size_t>(function)] = on;
}

void TfrmWheel::SetRotateType(int type) {
  if (type >= 0 && type <= 3) rotateType_ = type;
}

void TfrmWheel::SetUndoRedoType(int type) {
  if (type >= 0 && type <= 1) undoRedoType_ = type;
}

void TfrmWheel::ShowCurrentFunction(int function) {
  shown_ = std::clamp(function, 0, wheel_function::kCount - 1);
  // The group box a little below the top, so that the one above shows too.
  position_ = std::clamp(shown_ * kGroupPitch - (shown_ == 0 ? 0 : 24), 0, kMaxScroll);
  p_.view.Refresh();
}

void TfrmWheel::VerticalScroll(int position) {
  position_ = std::clamp(position, 0, kMaxScroll);
  // Every scroll starts the wait again: the function follows once it stops.
  p_.scrollTimer.Start(kScrollSettleMs);
  p_.view.Refresh();
}

void TfrmWheel::ScrollBy(int pixels) { VerticalScroll(position_ + pixels); }

void TfrmWheel::MouseWheel(bool down) { ScrollBy(down ? kLine : -kLine); }

void TfrmWheel::ScrollWheel(uint8_t step) { MouseWheel((step & 0x80) != 0); }

void TfrmWheel::ScrollTimerTick() {
  p_.scrollTimer.Stop();
  if (!data_) return;
  const int index = std::clamp((position_ + kListHeight / 2) / kGroupPitch, 0, wheel_function::kCount - 1);
  if (index == data_->CurrentFunction) return;
  data_->CurrentFunction = index;
  ShowCurrentFunction(index);
}

void TfrmWheel::DefineKeys(int function) {
  if (!data_ || closing_ || defineKeyShowing_) return;
  WheelSettings& s = data_->Settings();
  const KeyPairFields pair = PairOf(function);
  defineKey_.SetKeyMode(pair.mode);
  defineKey_.SetLeftCombo(ComboAt(s, pair.left));
  defineKey_.SetRightCombo(ComboAt(s, pair.right));
  defineKey_.FormShow(p_.language.Slot(kResetKeySlot));
  defineKeyShowing_ = true;
  p_.view.RunDefineKey(defineKey_, p_.language.Slot(kFirstNameSlot + function));
  defineKeyShowing_ = false;
  const std::array<uint8_t, 4> bytes = defineKey_.Bytes();
  const std::array<size_t, 4> fields = {pair.left, pair.left + 1, pair.right, pair.right + 1};
  for (size_t i = 0; i < 4; ++i) {
    if (s[fields[i]] != bytes[i]) {
      s[fields[i]] = bytes[i];
      changed_ = true;
    }
  }
}

void TfrmWheel::CloseBtnClick() {
  if (!data_ || closing_) return;
  closing_ = true;
  p_.view.CloseAnimation(0);
  p_.clock.ProcessMessagesFor(kShrunkFaceMs);
  p_.view.CloseAnimation(1);
  p_.clock.ProcessMessagesFor(kFullFaceMs);
  p_.view.CloseAnimation(2);
  p_.view.FadeOut();
  Commit();
  closed_ = true;
}

void TfrmWheel::Commit() {
  WheelSettings& s = data_->Settings();
  const bool disableAllWasOn = s[kDisableAllEnabled] != 0;
  auto put = [&](size_t field, uint8_t value) {
    if (s[field] == value) return;
    s[field] = value;
    changed_ = true;
  };
  for (size_t i = 0; i < enabled_.size(); ++i) put(kEnabledField[i], enabled_[i] ? 1 : 0);
  // A type the window does not offer stays as the file has it.
  if (rotateType_ >= 0) put(kRotateCanvasType, static_cast<uint8_t>(rotateType_));
  if (undoRedoType_ >= 0) put(kUndoRedoType, static_cast<uint8_t>(undoRedoType_));
  put(kHideWheel, hideWheel_ ? 1 : 0);
  if (changed_) data_->SaveWheelSettings();
  data_->RefreshEnabledList();
  if (disableAllWasOn && !s[kDisableAllEnabled]) data_->NextEnabledFunction();
}

}  // namespace pen
