#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include <optional>

#include "ui/UnitFormA.h"
#include "ui/win32/Gdi.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/Win32Window.h"

namespace pen::win32 {

// The main settings window on Windows: a borderless window with plain Win32
// controls, drawn with GDI and GDI+, that shows a TFormA and hands it the
// user's actions. Created once, hidden and shown again.
class TWin32FormA final : public TWin32Window, public IFormAView, public IFormADesktop {
 public:
  static constexpr const wchar_t* kClassName = L"TFormA";
  static constexpr const wchar_t* kControlClass = L"TFormAControl";
  static constexpr UINT kPressureLineRequest = WM_APP + 40;
  static constexpr int kFirstControlId = 1000;

  TWin32FormA(TLanguage& language, IFileReader& files, IFormAChildren& children, std::string programFolder,
              uint16_t uiLanguage);
  ~TWin32FormA() override;

  // The window, its controls and the form behind them, hidden. False when
  // the window cannot be created.
  bool Create();
  TFormA& Form() { return *form_; }
  HWND ControlWindow(FormAControl c) const { return controls_[static_cast<size_t>(Index(c))].hwnd; }

  // Where the test drawing area will be on the screen once the window shows
  // (it is centred on the screen).
  static RECT DrawAreaOnScreen();

  // IFormAView
  uintptr_t Handle() const override { return reinterpret_cast<uintptr_t>(Window()); }
  void ShowForm() override;
  void HideForm() override;
  void Changed(FormAChange what) override;
  void StartTimer(FormATimer timer, uint32_t ms) override;
  void StopTimer(FormATimer timer) override;
  void RequestPressureLine() override;

  // IFormADesktop
  bool IsWindow(uintptr_t window) override;
  void PostCommand(uintptr_t window, int64_t code, uint64_t wparam) override;
  void OpenAddress(const std::string& address) override;

 private:
  struct Control {
    HWND hwnd = nullptr;
    std::u16string caption;
    bool visible = true;
    bool checked = false;
  };

  // TWin32Window
  void OnPaint(HDC dc) override;
  void OnPaintChild(int id, HWND child, HDC dc) override;
  void OnTimer(UINT_PTR id) override;
  void OnClose() override;
  void OnEnter() override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnChildMessage(int id, HWND child, UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT HandleControl(FormAControl id, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // Messages that children send to whichever window is their parent.
  bool HandleChildNotice(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void OnCommand(FormAControl id, UINT code, HWND from);
  // The two buttons that open a window modally: true when the window may
  // open now; otherwise the click comes again at the top-level loop.
  bool OpensAtTopLevel(FormAControl id);
  void RepostShowMapForm() { RepostClick(FormAControl::btnShowMapForm); }
  void RepostKeyDefine() { RepostClick(FormAControl::BtnKeyDefine); }
  void RepostClick(FormAControl id);
  void CreateControls();
  void CreateFonts();
  void LoadPictures();
  void Sync();
  void PaintControl(FormAControl id, HWND hwnd, HDC dc);
  void ClearDrawBuffer();
  void BuildCursor();
  void TrackerMouse(HWND hwnd, int x);
  void TrackerKey(WPARAM key);
  void DrawAreaMouse(UINT msg, LPARAM lp);

  TLanguage& language_;
  IFileReader& files_;
  IFormAChildren& children_;
  std::string folder_;
  uint16_t uiLanguage_;
  TGdiPlus gdiplus_;
  std::unique_ptr<TFormA> form_;
  std::array<Control, kFormAControls> controls_{};
  bool syncing_ = false;

  TFont font_;
  TFont headingFont_;
  TFont smallFont_;
  TBrush formBrush_;
  TBrush whiteBrush_;
  TBrush foundBrush_;
  TBrush notFoundBrush_;
  TBitmap logo_;
  TBitmap penFull_;
  TBitmap penBlanked_;

  std::optional<TBitmapDc> drawing_;  // the test area's picture
  // The test area's cursor, and the one before it, which the pointer may
  // still show until the new one is set.
  TCursor cursor_;
  TCursor previousCursor_;

  HWND lastFocus_ = nullptr;  // the control that had the keyboard when the window was left
  bool trackerDragging_ = false;
  bool closeHot_ = false;
  bool closePressed_ = false;
};

}  // namespace pen::win32
