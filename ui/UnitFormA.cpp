#include "ui/UnitFormA.h"

#include <algorithm>

#include "service/HostMessages.h"
#include "ui/TextFile.h"
#include "ui/VersionLine.h"

namespace pen {

namespace {

using C = FormAControl;

constexpr MapRect kWholeArea{0, 0, 4095, 4095};

std::u16string Widen(const std::string& ansi) {
  // Version texts, model codes and product strings are plain ASCII.
  return std::u16string(ansi.begin(), ansi.end());
}

}  // namespace

KeySetupWindow KeySetupFor(const std::string& code) {
  const ModelRow* model = FindModel(code);
  return model ? model->family : KeySetupWindow::None;
}

TFormA::TFormA(const Environment& env) : env_(env) {
  for (const ControlLayout& s : FormAControls()) {
    ControlState& c = Ctl(s.id);
    c.caption = s.caption;
    c.visible = s.id != C::btnInternet;  // created hidden; this window never shows it
  }
  languageNames_ = env_.language.LanguageNames();
  SetTabletFound(false);
  SetKeyEditor(u'z', true, false, false);
  BuildCursor();
}

// --- the service host's operations -------------------------------------

void TFormA::SetInkMode(bool on) {
  Ctl(C::chkUseInk).checked = !on;
  inkMode_ = on;
  if (on) {
    Ctl(C::BtnKeyDefine).visible = true;
  } else if (!keyDefineInInk_) {
    Ctl(C::BtnKeyDefine).visible = false;
  }
  Changed(FormAChange::Controls);
}

void TFormA::SetLeftHandChecked(bool on) {
  Ctl(C::chkLeftHand).checked = on;
  Changed(FormAChange::Controls);
}

void TFormA::SetPressureLevel(int32_t v) {
  if (v < -kPressureRange || v > kPressureRange) return;
  tracker_ = v;
  Changed(FormAChange::Controls);
}

void TFormA::SetKeyEditor(char16_t key, bool ctrl, bool alt, bool shift) {
  SetCaption(C::edt1, std::u16string(1, key));
  Ctl(C::chk1).checked = ctrl;
  Ctl(C::chk2).checked = alt;
  Ctl(C::chk3).checked = shift;
  Changed(FormAChange::Controls);
}

void TFormA::FallBackToDefaultKey() {
  keyUsage_ = self_key::kDefaultUsage;
  keyModifiers_ = self_key::kDefaultModifiers;
  SetKeyEditor(u'z', true, false, false);
}

void TFormA::SetSelfDefineKey(uint8_t usage) {
  if (usage >= self_key::kTable.size() || self_key::kTable[usage] == '~') return FallBackToDefaultKey();
  keyUsage_ = usage;
  SetCaption(C::edt1, std::u16string(1, static_cast<char16_t>(self_key::kTable[usage])));
  Changed(FormAChange::Controls);
}

void TFormA::SetSelfDefineModifiers(uint8_t bits) {
  if (bits >= 8) return FallBackToDefaultKey();
  keyModifiers_ = bits;
  Ctl(C::chk1).checked = bits & self_key::kCtrl;
  Ctl(C::chk3).checked = bits & self_key::kShift;
  Ctl(C::chk2).checked = bits & self_key::kAlt;
  Changed(FormAChange::Controls);
}

void TFormA::SetFirmwareVersion(const std::string& text) {
  firmwareVersion_ = text;
  keyDefineInInk_ = KeyDefineInInk(text);
}

void TFormA::SetPressureAdjustable(bool on) {
  pressureAdjustable_ = on;
  for (C c : {C::jntrckr1, C::btnResetPressure, C::lblFirm, C::lblSoft, C::lblPressureFirmSoft}) {
    Ctl(c).visible = on;
  }
  Changed(FormAChange::Controls);
}

void TFormA::SetTabletFound(bool found) {
  tabletFound_ = found;
  SetCaption(C::pnlFound, found ? foundText_ : notFoundText_);
  if (!found && openKeyWindow_ != KeySetupWindow::None) env_.children.CloseKeySetup(openKeyWindow_);
  RebuildVersionLine();
  Changed(FormAChange::Controls);
}

void TFormA::RebuildVersionLine() {
  if (firmwareVersion_.empty()) {
    SetCaption(C::lblVer, u"");
    return;
  }
  const bool siteFile = env_.files.Exists(env_.programFolder + std::string(kSiteFile));
  SetCaption(C::lblVer, Widen(VersionLine(serviceVersion_, tabletFound_, firmwareVersion_,
                                          DisplayName(modelCode_, productString_, siteFile))));
}

void TFormA::ApplyLanguageTexts() {
  const TLanguage& lang = env_.language;
  for (const ControlLayout& s : FormAControls()) {
    if (s.languageSlot >= 0) SetCaption(s.id, lang.Slot(s.languageSlot));
  }
  foundText_ = lang.Slot(lan::kTabletFound);
  notFoundText_ = lang.Slot(lan::kTabletNotFound);
  Changed(FormAChange::Controls);
}

void TFormA::FeedPenSample(int32_t pressure, int8_t tiltX, int8_t tiltY) {
  if (!visible_.load(std::memory_order_relaxed)) return;
  uint32_t p = static_cast<uint32_t>(pressure);
  if (p > 2040) p = 2048;
  int32_t level = pressureLevel_.load(std::memory_order_relaxed);
  if (p > 0) {
    // A quarter of the way to 4 p per sample, rounded towards 4 p so that
    // the level reaches it: full pressure shows 8192, not 8191.
    const int32_t target = static_cast<int32_t>(4 * p);
    level = level < target ? (target + 3 * level + 3) / 4 : (target + 3 * level) / 4;
  } else {
    level = 0;
  }
  level = std::min(level, TPressureLine::kMax);
  pressureLevel_.store(level, std::memory_order_relaxed);
  tiltX_.store(tiltX, std::memory_order_relaxed);
  tiltY_.store(tiltY, std::memory_order_relaxed);
  drawArea_.Pressure.store(level, std::memory_order_relaxed);
  // One request per showing: the timer then runs until the window hides.
  if (!lineRequested_.exchange(true, std::memory_order_acq_rel)) env_.view.RequestPressureLine();
}

void TFormA::PressureLineRequested() {
  if (Visible() && lineRequested_.load(std::memory_order_acquire) && !Running(FormATimer::PressureLine)) {
    StartTimer(FormATimer::PressureLine, kPressureLineMs);
  }
}

// --- showing and hiding ------------------------------------------------

void TFormA::Show() {
  if (Visible()) {
    env_.view.ShowForm();
    return;
  }
  visible_.store(true, std::memory_order_relaxed);
  FormShow();
  env_.view.ShowForm();
}

void TFormA::Hide() {
  if (!Visible()) return;
  visible_.store(false, std::memory_order_relaxed);
  env_.view.HideForm();
  FormHide();
}

void TFormA::ShowWindowOrOpenKeyWindow() {
  if (openKeyWindow_ != KeySetupWindow::None) {
    env_.children.BringKeySetupToFront(openKeyWindow_);
  } else {
    Show();
  }
}

void TFormA::FormShow() {
  StartTimer(FormATimer::Cursor, kCursorMs);
  ApplyLanguageTexts();
  SetTabletFound(tabletFound_);
  ClearTestArea();
  if (!firmwareVersion_.empty()) {
    RebuildVersionLine();
    ApplyKeyDefineRule(Checked(C::chkUseInk));
    StartTimer(FormATimer::OnShow, kOnShowMs);
    if (openKeyWindow_ != KeySetupWindow::None) {
      env_.children.CloseKeySetup(openKeyWindow_);
      openKeyWindow_ = KeySetupWindow::None;
    }
  } else {
    SetCaption(C::lblVer, Widen(serviceVersion_));
    Ctl(C::BtnKeyDefine).visible = false;
  }
  Changed(FormAChange::Controls);
}

void TFormA::FormHide() {
  StopTimer(FormATimer::PressureLine);
  StopTimer(FormATimer::Cursor);
  lineRequested_.store(false, std::memory_order_release);
}

void TFormA::StartTimer(FormATimer t, uint32_t ms) {
  running_[static_cast<size_t>(t)] = true;
  env_.view.StartTimer(t, ms);
}

void TFormA::StopTimer(FormATimer t) {
  running_[static_cast<size_t>(t)] = false;
  env_.view.StopTimer(t);
}

void TFormA::OnTimer(FormATimer t) {
  switch (t) {
    case FormATimer::OnShow:
      StopTimer(t);
      Post(host_cmd::kReportModeFull, 0);
      break;
    case FormATimer::Apply:
      StopTimer(t);
      Post(pendingChange_, pendingPressure_);
      drawArea_.Suspended = false;
      break;
    case FormATimer::Cursor:
      StopTimer(t);
      BuildCursor();
      StartTimer(t, kCursorMs);
      break;
    case FormATimer::PressureLine: {
      const int32_t level = PressureLevel();
      std::string refused;
      chart_.Add(level, refused);  // the level never leaves the chart's range
      shownPressure_ = level;
      SetCaption(C::lblPressure, Widen(std::to_string(level)));
      Changed(FormAChange::Chart);
      break;
    }
    case FormATimer::kCount:
      break;
  }
}

void TFormA::BuildCursor() {
  cursor_ = MakeCursorShape(tiltX_.load(std::memory_order_relaxed), tiltY_.load(std::memory_order_relaxed));
  Changed(FormAChange::Cursor);
  cursorSlot_ = cursorSlot_ == 1 ? 2 : 1;
  // The line shows only while new samples keep coming.
  tiltX_.store(0, std::memory_order_relaxed);
  tiltY_.store(0, std::memory_order_relaxed);
}

// --- the controls' events ----------------------------------------------

void TFormA::Post(int64_t code, int64_t argument) {
  env_.desktop.PostCommand(serviceWindow_, code, static_cast<uint64_t>(argument));
}

void TFormA::ApplyKeyDefineRule(bool useInkChecked) {
  if (useInkChecked) {
    if (!keyDefineInInk_) Ctl(C::BtnKeyDefine).visible = false;
  } else if (tabletFound_) {
    Ctl(C::BtnKeyDefine).visible = true;
  }
}

void TFormA::chkUseInkMouseUp(bool checked) {
  Ctl(C::chkUseInk).checked = checked;
  ApplyKeyDefineRule(checked);
  inkMode_ = !checked;
  Changed(FormAChange::Controls);
}

void TFormA::chkUseInkKeyPress(bool checkedBefore) { chkUseInkMouseUp(!checkedBefore); }

void TFormA::chkLeftHandMouseUp(bool checked) {
  Ctl(C::chkLeftHand).checked = checked;
  Post(host_cmd::kLeftHand, checked ? 1 : 0);
}

void TFormA::chkLeftHandKeyPress(bool checkedBefore) { chkLeftHandMouseUp(!checkedBefore); }

void TFormA::ModifierClick(FormAControl box, bool checked) {
  if (box == C::chk1 || box == C::chk2 || box == C::chk3) Ctl(box).checked = checked;
}

void TFormA::edt1Change(std::u16string_view text) {
  // One character, shown in lower case. Built by clear and push_back: g++ 12
  // at -O3 reports a false -Wrestrict for a copied one-character view.
  std::u16string& key = Ctl(C::edt1).caption;
  key.clear();
  if (text.empty()) return;
  char16_t c = text[0];
  if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  key.push_back(c);
}

void TFormA::jntrckr1ChangedValue(int32_t value) {
  tracker_ = std::clamp(value, -kPressureRange, kPressureRange);
  ClearTestArea();
  pendingChange_ = host_cmd::kPressure;
  pendingPressure_ = tracker_;
  StartTimer(FormATimer::Apply, kApplyMs);
  drawArea_.Suspended = true;
}

void TFormA::btnResetPressureClick() {
  if (!Shown(C::btnResetPressure)) return;
  tracker_ = 0;
  Changed(FormAChange::Controls);
  jntrckr1ChangedValue(0);
}

void TFormA::btnResetKeyClick() { SetKeyEditor(u'z', true, false, false); }

void TFormA::ClearTestArea() {
  drawArea_.Clear();
  Ctl(C::lblNotice).visible = true;
  Ctl(C::lblDrawArea).visible = true;
  Changed(FormAChange::DrawArea);
  Changed(FormAChange::Controls);
}

void TFormA::lblNoticeMouseMove() {
  if (!Shown(C::lblNotice) && !Shown(C::lblDrawArea)) return;
  drawArea_.LabelsVisible = false;
  Ctl(C::lblNotice).visible = false;
  Ctl(C::lblDrawArea).visible = false;
  Changed(FormAChange::Controls);
}

void TFormA::ImgDrawMouseDown(double x, double y) {
  drawArea_.MouseDown(x, y);
  if (!drawArea_.LabelsVisible) lblNoticeMouseMove();
}

void TFormA::btnOkClick() {
  Hide();
  inkMode_ = !Checked(C::chkUseInk);
  keyModifiers_ = static_cast<uint8_t>((Checked(C::chk1) ? self_key::kCtrl : 0) |
                                       (Checked(C::chk3) ? self_key::kShift : 0) |
                                       (Checked(C::chk2) ? self_key::kAlt : 0));
  const std::u16string& key = Caption(C::edt1);
  keyUsage_ = key.empty() ? 0 : self_key::UsageOf(key[0]);
  if (env_.desktop.IsWindow(serviceWindow_)) {
    pendingChange_ = 0;
    Post(host_cmd::kApplySettings, 0);
  }
}

void TFormA::ScreenMappingChange(int index) {
  TLanguage& lang = env_.language;
  // No selection (-1) is no choice.
  if (index < 0 || index == lang.CurrentLanguage) return;
  lang.CurrentLanguage = index;
  lang.SaveLanguageChoice(true);
  lang.LoadLanguageTexts(env_.uiLanguage);
  ApplyLanguageTexts();
  SetTabletFound(tabletFound_);
  Post(host_cmd::kLoadLanguage, 0);
}

void TFormA::btnShowMapFormClick() {
  if (!env_.children.HasScreenMapping()) return;
  Hide();
  MapRect screen = screenMapRect_, tablet = tabletMapRect_;
  env_.children.ShowScreenMapping(screen, tablet, modelCode_, !Checked(C::chkUseInk));
  Show();
  if (!(screen == screenMapRect_)) {
    screenMapRect_ = screen;
    Post(host_cmd::kScreenArea, 0);
  }
  if (!(tablet == tabletMapRect_)) {
    tabletMapRect_ = tablet;
    Post(host_cmd::kTabletArea, 0);
  }
}

void TFormA::BtnKeyDefineClick() {
  if (!Shown(C::BtnKeyDefine)) return;
  const KeySetupWindow which = KeySetupFor(modelCode_);
  if (which == KeySetupWindow::None || !env_.children.HasKeySetup(which)) return;
  Hide();
  openKeyWindow_ = which;
  // The window edits a copy taken now; what it changed reaches the button
  // manager before command 6 has it saved.
  ButtonDefinitions block{};
  for (size_t slot = 0; buttonDefinitions_ && slot < block.size() / 2; ++slot) {
    const KeyDefinition d = buttonDefinitions_->Definition(slot);
    block[2 * slot] = d.extraKey;
    block[2 * slot + 1] = d.MainKey;
  }
  const ButtonDefinitions before = block;
  if (env_.children.ShowKeySetup(which, block)) {
    for (size_t slot = 0; buttonDefinitions_ && slot < block.size() / 2; ++slot) {
      const size_t at = 2 * slot;
      if (block[at] != before[at] || block[at + 1] != before[at + 1]) {
        buttonDefinitions_->SetDefinition(slot, block[at], block[at + 1]);
      }
    }
    Post(host_cmd::kSaveDefinitions, 0);
  }
  // Forgotten before showing again: the window is closed already.
  openKeyWindow_ = KeySetupWindow::None;
  Show();
}

void TFormA::BtnResetAllClick() {
  Ctl(C::chkLeftHand).checked = false;
  Post(host_cmd::kLeftHand, 0);
  chkUseInkMouseUp(false);
  // The key is reset where the service reads it, not only in the editor.
  FallBackToDefaultKey();
  tracker_ = 0;
  pendingChange_ = 0;
  pendingPressure_ = 0;
  ClearTestArea();
  if (tabletFound_) Ctl(C::BtnKeyDefine).visible = true;
  if (!(screenMapRect_ == kWholeArea)) {
    screenMapRect_ = kWholeArea;
    Post(host_cmd::kScreenArea, 0);
  }
  if (!(tabletMapRect_ == kWholeArea)) {
    tabletMapRect_ = kWholeArea;
    Post(host_cmd::kTabletArea, 0);
  }
  Post(host_cmd::kResetDefinitions, 0);
  drawArea_.Suspended = true;
  StartTimer(FormATimer::Apply, kApplyMs);
  Changed(FormAChange::Controls);
}

void TFormA::btnInternetClick() {
  if (!Shown(C::btnInternet)) return;
  const int lang = env_.language.CurrentLanguage;
  std::string address(kSupportHost);
  if (lang != 2 && lang != 3) address += kSupportPage;
  std::string bytes;
  if (env_.files.ReadAll(env_.programFolder + std::string(kSiteFile), 64 * 1024, bytes)) {
    const size_t end = bytes.find_first_of("\r\n");
    const std::string first = bytes.substr(0, end);
    // A file with one line, even an empty one, names the address.
    if (!bytes.empty()) address = first;
  }
  env_.desktop.OpenAddress(address);
}

}  // namespace pen
