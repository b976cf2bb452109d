#pragma once
#include <windows.h>

#include <string>

#include "ui/FormAPorts.h"
#include "ui/MapScreen.h"
#include "ui/win32/ScreenMappingPainting.h"

namespace pen::win32 {

// The desktop as the system reports it now: the virtual screen and each
// monitor, in the order the system lists them.
DesktopGeometry ReadDesktop();

// The screen mapping window on Windows: a borderless, top-most window drawn
// with GDI that shows a TScreenMappingForm modally. It is the settings
// window's screen-mapping child; the key-setup windows come from elsewhere.
class TWin32ScreenMappingChild final : public IFormAChildren {
 public:
  static constexpr const char* kClassName = "TScreenMappingForm";

  TWin32ScreenMappingChild() = default;
  ~TWin32ScreenMappingChild() override;
  TWin32ScreenMappingChild(const TWin32ScreenMappingChild&) = delete;
  TWin32ScreenMappingChild& operator=(const TWin32ScreenMappingChild&) = delete;

  // The window, hidden. False when it cannot be created.
  bool Create();
  HWND Window() const { return window_; }
  TScreenMappingForm& Form() { return form_; }

  // Saves a picture of the window as PNG `ms` after it is next shown.
  void ScreenshotAfterShow(const std::string& pngFile, uint32_t ms);

  // IFormAChildren: the screen-mapping half.
  bool HasScreenMapping() const override { return window_ != nullptr; }
  void ShowScreenMapping(MapRect& screen, MapRect& tablet, const std::string& modelCode,
                         bool showTabletArea) override;
  bool HasKeySetup(KeySetupWindow) const override { return false; }
  bool ShowKeySetup(KeySetupWindow, ButtonDefinitions&) override { return false; }
  void BringKeySetupToFront(KeySetupWindow) override {}
  void CloseKeySetup(KeySetupWindow) override {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void CaptureDesktop();
  void ReleaseDesktop();
  void Press(int x, int y);
  void Release(int x, int y);
  void Repaint() { InvalidateRect(window_, nullptr, FALSE); }

  TScreenMappingForm form_;
  HWND window_ = nullptr;
  HFONT captionFont_ = nullptr;
  HDC desktopDc_ = nullptr;
  HBITMAP desktopBitmap_ = nullptr;
  HGDIOBJ desktopOld_ = nullptr;
  MapScreenButtons buttons_;
  bool open_ = false;
  std::string screenshotFile_;
  uint32_t screenshotMs_ = 0;
};

}  // namespace pen::win32
