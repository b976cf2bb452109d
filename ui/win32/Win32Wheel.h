#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "common/Clock.h"
#include "common/win32/Win32WindowTimer.h"
#include "keys/WheelWindows.h"
#include "ui/FormWheel.h"
#include "ui/win32/Gdi.h"
#include "ui/win32/Win32Window.h"
#include "ui/win32/Win32WheelFaces.h"

namespace pen::win32 {

// The custom key window on screen: a title panel with its close button,
// the two turn directions each with a key chooser and Ctrl, Alt and Shift,
// and "Set Default". Borderless and on top; its rules are TfrmDefineKey's.
class TWin32DefineKey final : public TWin32Window, public ICustomKeyWindow {
 public:
  static constexpr int kWidth = 360;
  static constexpr int kHeight = 150;

  TWin32DefineKey();
  ~TWin32DefineKey() override;

  // Shows `model` modally, owned by `owner`; returns once it is closed.
  void Run(TfrmDefineKey& model, std::u16string_view heading, HWND owner);

  // ICustomKeyWindow
  bool Showing() const override { return model_ != nullptr; }
  void CloseWindow() override;

 protected:
  void OnPaint(HDC dc) override;
  void OnClose() override { CloseWindow(); }
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Load();

  TfrmDefineKey* model_ = nullptr;
  std::u16string heading_;
  bool done_ = false;
};

// The wheel settings window on screen: the current function's face, the
// list of the eight functions with their switches, "Hide wheel" and the
// close button. Borderless, on top, 600 x 300; its rules are TfrmWheel's.
class TWin32Wheel final : public TWin32Window, public IWheelSettingsWindow, public IWheelWindowView {
 public:
  TWin32Wheel(const TLanguage& language, const TWin32WheelFaces& faces, IClock& clock, const IKeyboardLayout& layout);
  ~TWin32Wheel() override;

  TfrmWheel& Model() { return model_; }

  // IWheelSettingsWindow
  ICustomKeyWindow& CustomKeyWindow() override { return defineKey_; }
  bool Showing() const override { return open_; }
  void ShowModal(TWheelData& data) override;
  void ScrollWheel(uint8_t step) override { model_.ScrollWheel(step); }
  void CloseWindow() override;
  void ShowCurrentFunction(int function) override { model_.ShowCurrentFunction(function); }

  // IWheelWindowView
  void Refresh() override;
  void CloseAnimation(int step) override;
  void FadeOut() override;
  void RunDefineKey(TfrmDefineKey& window, std::u16string_view heading) override;

 protected:
  void OnPaint(HDC dc) override;
  void OnPaintChild(int id, HWND child, HDC dc) override;
  void OnClose() override { CloseWindow(); }
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnChildMessage(int id, HWND child, UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Placed {
    HWND control = nullptr;
    RECT box{};  // in the list's content, unscrolled
  };
  void MakeControls();
  void Command(int id, int code, HWND control);
  void SyncControls();
  void PlaceListControls();
  void DrawFace(HDC dc);

  const TLanguage& language_;
  const TWin32WheelFaces& faces_;
  Win32WindowTimer scrollTimer_;
  TfrmWheel model_;
  TWin32DefineKey defineKey_;
  HWND list_ = nullptr;
  std::array<Placed, 40> placed_{};
  size_t placedCount_ = 0;
  std::array<TBrush, 2> groupBrushes_;  // the current group box's, the others'
  int animation_ = -1;
  bool open_ = false;
  bool done_ = false;
};

}  // namespace pen::win32
