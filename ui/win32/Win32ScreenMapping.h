#pragma once
#include <windows.h>

#include <string>

#include "ui/FormAPorts.h"
#include "ui/Language.h"
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
  // Waits until a window hidden a moment ago has left the screen.
  using ScreenWait = void (*)();

  // Titled with the language's text for screen mapping.
  explicit TWin32ScreenMappingChild(const TLanguage& language, ScreenWait waitForScreen = &WaitForHiddenWindows);
  ~TWin32ScreenMappingChild() override;
  TWin32ScreenMappingChild(const TWin32ScreenMappingChild&) = delete;
  TWin32ScreenMappingChild& operator=(const TWin32ScreenMappingChild&) = delete;

  // The window, hidden, owned by `owner` (the settings window): it has no
  // taskbar button of its own and keeps the owner disabled while it is open.
  // False when it cannot be created.
  bool Create(HWND owner);
  HWND Window() const { return window_; }
  TScreenMappingForm& Form() { return form_; }
  // The desktop picture it shows, once taken.
  bool HasDesktopPicture() const { return desktopDc_ != nullptr; }

  // The settings window hides as this one opens; on Windows the compositor
  // may still show it for a frame, and the windows it uncovered repaint
  // after a moment. This waits for both.
  static void WaitForHiddenWindows();

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

  const TLanguage& language_;
  ScreenWait waitForScreen_;
  TScreenMappingForm form_;
  HWND window_ = nullptr;
  HFONT captionFont_ = nullptr;
  HDC desktopDc_ = nullptr;
  HBITMAP desktopBitmap_ = nullptr;
  HGDIOBJ desktopOld_ = nullptr;
  MapScreenButtons buttons_;
  bool open_ = false;
  bool closed_ = false;  // asked to close: the modal loop ends
  std::string screenshotFile_;
  uint32_t screenshotMs_ = 0;
};

}  // namespace pen::win32
