#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/FileReader.h"
#include "service/SettingsWindowPort.h"
#include "ui/FormALayout.h"
#include "ui/FormAPorts.h"
#include "ui/Language.h"
#include "ui/PressureLine.h"
#include "ui/TestDrawArea.h"

namespace pen {

// What one control shows.
struct ControlState {
  std::u16string caption;
  bool visible = true;
  bool checked = false;
};

// The key-setup window of a model code; None for an unknown code.
KeySetupWindow KeySetupFor(const std::string& modelCode);

// The main settings window: its state, its rules and what it posts to the
// service, independent of how it is drawn. The service fills its fields and
// reads them back when the window posts a command; the window never writes
// the settings itself.
//
// Threads: everything runs on the window's thread except FeedPenSample, which
// the HID read threads call; it only stores words and asks the window's
// thread, once per showing, to start the chart timer.
class TFormA final : public ISettingsWindow {
 public:
  static constexpr uint32_t kApplyMs = 200;
  static constexpr uint32_t kOnShowMs = 1000;
  static constexpr uint32_t kPressureLineMs = 100;
  static constexpr uint32_t kCursorMs = 50;
  static constexpr std::string_view kSiteFile = "website.txt";
  static constexpr std::string_view kPenPictureFile = "PenShape.bmp";
  static constexpr std::string_view kLogoFile = "Logo.bmp";
  // Where "O&nline" leads, unless "website.txt" names another address.
  static constexpr std::string_view kSupportHost = "https://support.pentablet.example";
  static constexpr std::string_view kSupportPage = "/qx2090pro_en/";
  static constexpr int32_t kPressureRange = 255;

  struct Environment {
    IFormAView& view;
    IFormADesktop& desktop;
    IFormAChildren& children;
    TLanguage& language;
    IFileReader& files;
    std::string programFolder;  // ends with a path separator
    uint16_t uiLanguage;        // the system's UI language
  };

  explicit TFormA(const Environment& env);
  TFormA(const TFormA&) = delete;
  TFormA& operator=(const TFormA&) = delete;

  // --- what the service host calls -------------------------------------
  bool InkMode() const override { return inkMode_; }
  void SetInkMode(bool on) override;
  MapRect ScreenMapRect() const override { return screenMapRect_; }
  void SetScreenMapRect(const MapRect& r) override { screenMapRect_ = r; }
  MapRect TabletMapRect() const override { return tabletMapRect_; }
  void SetTabletMapRect(const MapRect& r) override { tabletMapRect_ = r; }
  bool LeftHandChecked() const override { return Checked(FormAControl::chkLeftHand); }
  void SetLeftHandChecked(bool on) override;
  int32_t GetPressureLevel() const override { return tracker_; }
  void SetPressureLevel(int32_t v) override;
  uint8_t KeyUsage() const override { return keyUsage_; }
  void SetSelfDefineKey(uint8_t usage) override;
  uint8_t KeyModifiers() const override { return keyModifiers_; }
  void SetSelfDefineModifiers(uint8_t bits) override;
  void SetFirmwareVersion(const std::string& text) override;
  void SetModelCode(const std::string& code) override { modelCode_ = code; }
  void SetProductString(const std::string& text) override { productString_ = text; }
  void SetPressureAdjustable(bool on) override;
  void SetTabletFound(bool found) override;
  void SetServiceVersion(const std::string& text) override { serviceVersion_ = text; }
  void SetServiceWindow(uintptr_t handle) override { serviceWindow_ = handle; }
  void SetButtonDefinitions(IButtonDefinitions* definitions) override { buttonDefinitions_ = definitions; }
  void SetRotation(uint8_t rotation) override { rotation_ = rotation; }
  uintptr_t Handle() const override { return env_.view.Handle(); }
  bool Visible() const override { return visible_.load(std::memory_order_relaxed); }
  void Hide() override;
  void ShowWindowOrOpenKeyWindow() override;
  void RefreshShown() override { FormShow(); }
  void FeedPenSample(int32_t pressure, int8_t tiltX, int8_t tiltY) override;
  void ApplyLanguageTexts();

  // --- the window's events ---------------------------------------------
  void Show();
  void btnOkClick();  // the close button
  void chkUseInkMouseUp(bool checked);
  void chkUseInkKeyPress(bool checkedBefore);
  void chkLeftHandMouseUp(bool checked);
  void chkLeftHandKeyPress(bool checkedBefore);
  void ModifierClick(FormAControl box, bool checked);  // chk1, chk2, chk3
  void edt1Change(std::u16string_view text);
  void jntrckr1ChangedValue(int32_t value);  // the user moved the tracker
  void btnResetPressureClick();
  void btnResetKeyClick();
  void btnClearImageClick() { ClearTestArea(); }
  void lblNoticeMouseMove();
  void ScreenMappingChange(int index);  // the language list
  void btnShowMapFormClick();
  void BtnKeyDefineClick();
  void BtnResetAllClick();
  void btnInternetClick();
  void ImgDrawMouseDown(double x, double y);
  bool ImgDrawMouseMove(double x, double y, StrokeStep& step) { return drawArea_.MouseMove(x, y, step); }
  void ImgDrawMouseUp() { drawArea_.MouseUp(); }
  void OnTimer(FormATimer timer);
  void PressureLineRequested();

  // --- what the window shows -------------------------------------------
  const ControlState& Control(FormAControl c) const { return controls_[static_cast<size_t>(Index(c))]; }
  bool Checked(FormAControl c) const { return Control(c).checked; }
  bool Shown(FormAControl c) const { return Control(c).visible; }
  const std::u16string& Caption(FormAControl c) const { return Control(c).caption; }
  int32_t TrackerValue() const { return tracker_; }
  bool TabletFound() const { return tabletFound_; }
  bool PenPictureBlanked() const { return !pressureAdjustable_; }
  const std::vector<std::u16string>& LanguageNames() const { return languageNames_; }
  int LanguageSelected() const { return env_.language.CurrentLanguage; }
  const TPressureLine& Chart() const { return chart_; }
  int32_t ShownPressure() const { return shownPressure_; }
  TTestDrawArea& DrawArea() { return drawArea_; }
  const CursorShape& Cursor() const { return cursor_; }
  // The cursor slot (1 or 2) that the view builds the new cursor into when
  // told FormAChange::Cursor; the other slot holds the cursor in use.
  int CursorSlot() const { return cursorSlot_; }
  int32_t PressureLevel() const { return pressureLevel_.load(std::memory_order_relaxed); }
  KeySetupWindow OpenKeyWindow() const { return openKeyWindow_; }
  const std::string& FirmwareVersion() const { return firmwareVersion_; }

 private:
  ControlState& Ctl(FormAControl c) { return controls_[static_cast<size_t>(Index(c))]; }
  void SetCaption(FormAControl c, std::u16string_view text) { Ctl(c).caption = text; }
  void FormShow();
  void FormHide();
  void ClearTestArea();
  void ApplyKeyDefineRule(bool useInkChecked);
  void RebuildVersionLine();
  void SetKeyEditor(char16_t key, bool ctrl, bool alt, bool shift);
  void FallBackToDefaultKey();
  void Post(int64_t code, int64_t argument);
  void BuildCursor();
  void Changed(FormAChange what) { env_.view.Changed(what); }
  void StartTimer(FormATimer t, uint32_t ms);
  void StopTimer(FormATimer t);
  bool Running(FormATimer t) const { return running_[static_cast<size_t>(t)]; }

  Environment env_;
  std::array<ControlState, kFormAControls> controls_;
  std::array<bool, static_cast<size_t>(FormATimer::kCount)> running_{};
  std::vector<std::u16string> languageNames_;
  std::u16string foundText_ = u"Tablet found";
  std::u16string notFoundText_ = u"Tablet not found";

  uintptr_t serviceWindow_ = 0;
  std::string modelCode_;
  std::string productString_;
  std::string firmwareVersion_ = "0";
  std::string serviceVersion_;
  bool tabletFound_ = false;
  bool keyDefineInInk_ = false;
  bool inkMode_ = false;
  uint8_t keyUsage_ = 29;
  uint8_t keyModifiers_ = 1;
  MapRect screenMapRect_{0, 0, 0, 0};
  MapRect tabletMapRect_{0, 0, 0, 0};
  int32_t pendingChange_ = 0;
  int32_t pendingPressure_ = 0;
  int32_t tracker_ = 0;
  bool pressureAdjustable_ = true;
  uint8_t rotation_ = 0;
  IButtonDefinitions* buttonDefinitions_ = nullptr;
  KeySetupWindow openKeyWindow_ = KeySetupWindow::None;

  // Stored by the read threads.
  std::atomic<bool> visible_{false};
  std::atomic<int32_t> pressureLevel_{0};
  std::atomic<int32_t> tiltX_{0};
  std::atomic<int32_t> tiltY_{0};
  std::atomic<bool> lineRequested_{false};

  TPressureLine chart_;
  int32_t shownPressure_ = 0;
  TTestDrawArea drawArea_;
  CursorShape cursor_;
  int cursorSlot_ = 1;
};

}  // namespace pen
