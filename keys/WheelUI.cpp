#include "keys/WheelUI.h"

#include "keys/WheelMessages.h"

namespace pen {

namespace {
// A fade is a handful of 20 ms steps; a notice window that never stops
// fading must not keep the settings window from opening.
constexpr int kMaxFadeSteps = 16;
}  // namespace

TWheelUI::TWheelUI(const WheelUIPorts& ports) : p_(ports), data_(p_.iniFiles, p_.folders), function_(p_.function) {
  p_.stepTimer.SetOnTimer(Event<>::Bind<&TWheelUI::StepTimerTick>(this));
  p_.holdTimer.SetOnTimer(Event<>::Bind<&TWheelUI::HoldTimerTick>(this));
  data_.LoadWheelSettings();
  // The first step already uses the user's keys.
  function_.SetWheelSettings(data_.Settings());
  function_.SetMode(data_.CurrentFunction);
}

TWheelUI::~TWheelUI() {
  p_.stepTimer.Stop();
  p_.holdTimer.Stop();
  p_.stepTimer.SetOnTimer({});
  p_.holdTimer.SetOnTimer({});
}

void TWheelUI::HandleMessage(uint64_t wparam, int64_t lparam) {
  if (wparam == wheel_message::kCentreButton) {
    if (lparam == 1) {
      WheelButtonDown();
    } else {
      WheelButtonUp();
    }
  } else if (wparam == wheel_message::kStep) {
    WheelStep(static_cast<uint8_t>(lparam & 0xFF));
  } else if (wparam == wheel_message::kOpenSettings) {
    RequestWheelSettings();
  }
}

void TWheelUI::WheelStep(uint8_t value) {
  if (value == 0) return;
  pendingStep_ = value;
  // A running timer is not restarted: every step within 60 ms of the first
  // becomes one action with the last value.
  if (!p_.stepTimer.Running()) p_.stepTimer.Start(kStepMergeMs);
}

void TWheelUI::UpdateNotice() {
  const int current = data_.CurrentFunction;
  p_.notice.SetNoticeIcon(p_.faces.FunctionIcon(current));
  p_.notice.SetNoticeText(p_.faces.FunctionName(current));
}

void TWheelUI::StepTimerTick() {
  p_.stepTimer.Stop();
  const uint8_t v = pendingStep_;
  const int direction = (v & 0x80) ? 1 : 2;
  p_.notice.SetNameFontSize(p_.faces.NameFontSize() / 3);
  if (SettingsShowing()) {
    p_.settingsWindow.ScrollWheel(v);
    return;
  }
  const WheelSettings& s = data_.Settings();
  if (s[wheel_field::kDisableAllEnabled]) return;
  const int before = data_.CurrentFunction;
  if (!data_.CurrentFunctionEnabled()) return;
  // The current function was disabled meanwhile: act with the one that
  // replaced it, not with the keys prepared for the disabled one.
  if (data_.CurrentFunction != before) function_.SetMode(data_.CurrentFunction);
  const std::string_view name = kWheelFunctionNames[static_cast<size_t>(data_.CurrentFunction)];
  TraceLine(p_.function.trace, "wheel step %d: %.*s", static_cast<int8_t>(v), static_cast<int>(name.size()),
            name.data());
  function_.RunStep(v);
  UpdateNotice();
  if (!s[wheel_field::kHideWheel]) p_.notice.ShowNotice(direction);
}

void TWheelUI::WheelButtonDown() {
  pressSeen_ = true;
  pressTime_ = p_.ticks.TickCount();
  p_.holdTimer.Start(kHoldCheckMs);
}

bool TWheelUI::LongPress() {
  // A release without a press seen counts as long.
  return !pressSeen_ || p_.ticks.TickCount() - pressTime_ >= kLongPressMs;
}

bool TWheelUI::SettingsShowing() const { return settingsOpen_ || p_.settingsWindow.Showing(); }

void TWheelUI::HoldTimerTick() {
  if (LongPress() && !SettingsShowing() && !p_.settingsWindow.CustomKeyWindow().Showing()) RequestWheelSettings();
}

void TWheelUI::WheelButtonUp() {
  p_.holdTimer.Stop();
  ICustomKeyWindow& customKey = p_.settingsWindow.CustomKeyWindow();
  if (LongPress()) {
    RequestWheelSettings();
  } else if (!SettingsShowing() && !customKey.Showing()) {
    SelectNextFunction();
  } else if (customKey.Showing()) {
    customKey.CloseWindow();
  } else {
    p_.settingsWindow.CloseWindow();
  }
}

void TWheelUI::RequestWheelSettings() {
  if (SettingsShowing()) return;
  if (p_.gate && p_.poster && !p_.gate->OpenNowOrLater(Event<>::Bind<&TWheelUI::RepostRequest>(this))) {
    TraceLine(p_.function.trace, "wheel settings asked for inside a wait: opened after it");
    return;
  }
  OpenWheelSettings();
}

void TWheelUI::RepostRequest() {
  if (p_.poster) p_.poster->Post(wheel_message::kWheelUi, wheel_message::kOpenSettings, 0);
}

void TWheelUI::OpenWheelSettings() {
  for (int i = 0; i < kMaxFadeSteps && p_.notice.Fading(); ++i) p_.notice.FadeStep();
  if (SettingsShowing()) return;
  const uintptr_t previous = p_.foreground.Foreground();
  TraceLine(p_.function.trace, "wheel settings opened");
  settingsOpen_ = true;
  p_.settingsWindow.ShowModal(data_);
  settingsOpen_ = false;
  const std::string_view current = kWheelFunctionNames[static_cast<size_t>(data_.CurrentFunction)];
  TraceLine(p_.function.trace, "wheel settings closed: %.*s current", static_cast<int>(current.size()), current.data());
  function_.SetWheelSettings(data_.Settings());
  function_.SetMode(data_.CurrentFunction);
  p_.foreground.SetForeground(previous);
}

void TWheelUI::SelectNextFunction() {
  if (data_.Settings()[wheel_field::kDisableAllEnabled]) {
    data_.CurrentFunction = wheel_function::kDisableAll;
  } else {
    data_.NextEnabledFunction();
  }
  const std::string_view name = kWheelFunctionNames[static_cast<size_t>(data_.CurrentFunction)];
  TraceLine(p_.function.trace, "wheel function %.*s selected", static_cast<int>(name.size()), name.data());
  p_.notice.SetNameFontSize(p_.faces.NameFontSize() / 3);
  UpdateNotice();
  p_.notice.ShowNotice(0);
  p_.settingsWindow.ShowCurrentFunction(data_.CurrentFunction);
  function_.SetMode(data_.CurrentFunction);
}

void TWheelUI::RefreshFaces() {
  p_.faces.ReloadNames();
  p_.settingsWindow.ShowCurrentFunction(data_.CurrentFunction);
}

}  // namespace pen
