#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "common/Clock.h"
#include "common/WindowTimer.h"
#include "keys/WheelData.h"
#include "ui/DefineKey.h"
#include "ui/Language.h"

namespace pen {

// What the wheel settings window needs of its drawing.
class IWheelWindowView {
 public:
  virtual ~IWheelWindowView() = default;
  // The window's state changed (face, colours, scroll position, controls).
  virtual void Refresh() = 0;
  // The closing animation, one picture at a time: 0 the face shrunk on
  // white, 1 the face at full size, 2 a dark ring around it.
  virtual void CloseAnimation(int step) = 0;
  // Hides the window with its fade.
  virtual void FadeOut() = 0;
  // Shows the custom key window modally; returns when it is closed.
  virtual void RunDefineKey(TfrmDefineKey& window, std::u16string_view heading) = 0;
};

struct WheelWindowPorts {
  IWindowTimer& scrollTimer;
  IClock& clock;  // the closing animation's waits, which run messages
  const TLanguage& language;
  IWheelWindowView& view;
  const IKeyboardLayout& layout;
};

// The wheel settings window, independent of how it is drawn: one group box
// per wheel function in a scrolled list, whose middle picks the current
// function, the function's switches, and the custom key window it owns.
// It edits the wheel data it is shown with and commits them on close.
class TfrmWheel {
 public:
  static constexpr int kWidth = 600;
  static constexpr int kHeight = 300;
  static constexpr int kGroupPitch = 132;
  static constexpr int kListWidth = 285;
  static constexpr int kListHeight = 215;
  // The last group box can be shown as the others are, 24 pixels down.
  static constexpr int kMaxScroll = (wheel_function::kCount - 1) * kGroupPitch - 24;
  static constexpr int kContentHeight = kMaxScroll + kListHeight;
  // A wheel step or a line of the list's scroll bar: one group box.
  static constexpr int kLine = kGroupPitch;
  static constexpr uint32_t kScrollSettleMs = 100;
  static constexpr uint32_t kCurrentColour = 15663103;
  static constexpr uint32_t kOtherColour = 16316664;
  static constexpr uint32_t kFrameColour = 11184810;

  explicit TfrmWheel(const WheelWindowPorts& ports);
  ~TfrmWheel();
  TfrmWheel(const TfrmWheel&) = delete;
  TfrmWheel& operator=(const TfrmWheel&) = delete;

  // --- the modal run, as its view drives it -----------------------------
  // Loads the controls from `data`, which the window edits until it closes.
  void FormShow(TWheelData& data);
  bool Showing() const { return data_ != nullptr; }
  bool Closing() const { return closing_; }
  // The modal loop ends once this is true.
  bool Closed() const { return closed_; }
  // The window has gone: it forgets the data it was shown with.
  void ModalEnded();

  // --- the user's and the overlay's actions -------------------------------
  void SetEnabled(int function, bool on);
  void SetRotateType(int type);    // 0 "Sai" .. 3 "ClipStudioPaint"
  void SetUndoRedoType(int type);  // 0 "ctrl+z /ctrl+y", 1 "photoshop"
  void SetHideWheel(bool on) { hideWheel_ = on; }
  // A scroll of the list (its scroll bar, dragged or clicked): the function
  // in the middle becomes current once the scrolling has stopped 100 ms.
  void VerticalScroll(int position);
  // The mouse wheel over the list: towards the user scrolls down a line.
  void MouseWheel(bool down);
  // A wheel step of the tablet: bit 7 set scrolls down a line, else up.
  void ScrollWheel(uint8_t step);
  void ShowCurrentFunction(int function);
  // "Define Keys" of LineWidth, Zoom or UserKey.
  void btnLineWidthClick() { DefineKeys(wheel_function::kLineWidth); }
  void btnZoomClick() { DefineKeys(wheel_function::kZoom); }
  void btnSelfDefineClick() { DefineKeys(wheel_function::kUserKey); }
  // The close button, Esc, a short press of the wheel's centre: the
  // animation, then the commit. A second one while it runs is ignored.
  void CloseBtnClick();

  // --- what the window shows -------------------------------------------------
  int ShownFunction() const { return shown_; }
  int ScrollPosition() const { return position_; }
  uint32_t GroupColour(int function) const { return function == shown_ ? kCurrentColour : kOtherColour; }
  bool Enabled(int function) const;
  int RotateType() const { return rotateType_; }
  int UndoRedoType() const { return undoRedoType_; }
  bool HideWheel() const { return hideWheel_; }
  bool Changed() const { return changed_; }
  TfrmDefineKey& DefineKey() { return defineKey_; }
  bool DefineKeyShowing() const { return defineKeyShowing_; }
  // Captions from the language: group box i (34..41), "Enabled" (42), the
  // "Define Keys" buttons (8), the radio groups (43), "Hide wheel" (45).
  const std::u16string& Caption(int slot) const { return p_.language.Slot(slot); }

 private:
  void ScrollTimerTick();
  void ScrollBy(int pixels);
  void DefineKeys(int function);
  void Commit();

  WheelWindowPorts p_;
  TfrmDefineKey defineKey_;
  TWheelData* data_ = nullptr;
  std::array<bool, wheel_function::kCount> enabled_{};
  int rotateType_ = -1;  // -1: none chosen (a value the window does not offer)
  int undoRedoType_ = -1;
  bool hideWheel_ = false;
  bool changed_ = false;
  bool closing_ = false;
  bool closed_ = false;
  bool defineKeyShowing_ = false;
  int shown_ = 0;
  int position_ = 0;
};

}  // namespace pen
