#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "ui/UnitFormA.h"
#include "ui/win32/GdiPlus.h"

namespace pen::win32 {

// The main settings window on Windows: a borderless window with plain Win32
// controls, drawn with GDI and GDI+, that shows a TFormA and hands it the
// user's actions. Created once, hidden and shown again.
class TWin32FormA final : public IFormAView, public IFormADesktop {
 public:
  static constexpr const char* kClassName = "TFormA";
  static constexpr const char* kControlClass = "TFormAControl";
  static constexpr UINT kPressureLineRequest = WM_APP + 40;
  static constexpr int kFirstControlId = 1000;

  TWin32FormA(TLanguage& language, IFileReader& files, IFormAChildren& children, std::string programFolder,
              uint16_t uiLanguage);
  ~TWin32FormA() override;
  TWin32FormA(const TWin32FormA&) = delete;
  TWin32FormA& operator=(const TWin32FormA&) = delete;

  // The window, its controls and the form behind them, hidden. False when
  // the window cannot be created.
  bool Create();
  TFormA& Form() { return *form_; }
  HWND Window() const { return window_; }
  HWND ControlWindow(FormAControl c) const { return controls_[static_cast<size_t>(Index(c))].hwnd; }

  // Where the test drawing area will be on the screen once the window shows
  // (it is centred on the screen).
  static RECT DrawAreaOnScreen();

  // Saves a picture of the window as PNG `ms` after it is next shown.
  void ScreenshotAfterShow(const std::string& pngFile, uint32_t ms);

  // IFormAView
  uintptr_t Handle() const override { return reinterpret_cast<uintptr_t>(window_); }
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

  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleForm(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleControl(FormAControl id, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // Messages that children send to whichever window is their parent.
  bool HandleChildNotice(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void OnCommand(FormAControl id, UINT code, HWND from);
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
  HWND window_ = nullptr;
  std::unique_ptr<TFormA> form_;
  std::array<Control, kFormAControls> controls_{};
  bool syncing_ = false;

  HFONT font_ = nullptr;
  HFONT headingFont_ = nullptr;
  HFONT smallFont_ = nullptr;
  HBRUSH formBrush_ = nullptr;
  HBRUSH whiteBrush_ = nullptr;
  HBRUSH foundBrush_ = nullptr;
  HBRUSH notFoundBrush_ = nullptr;
  HBITMAP logo_ = nullptr;
  HBITMAP penFull_ = nullptr;
  HBITMAP penBlanked_ = nullptr;

  HDC drawDc_ = nullptr;
  HBITMAP drawBitmap_ = nullptr;
  HGDIOBJ drawOld_ = nullptr;
  std::array<HCURSOR, 3> cursors_{};  // slots 1 and 2
  HCURSOR currentCursor_ = nullptr;

  HWND lastFocus_ = nullptr;  // the control that had the keyboard when the window was left
  bool trackerDragging_ = false;
  bool closeHot_ = false;
  bool closePressed_ = false;
  std::string screenshotFile_;
  uint32_t screenshotMs_ = 0;
};

}  // namespace pen::win32
