#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "ui/FormAPorts.h"
#include "ui/Language.h"
#include "ui/MapScreen.h"
#include "ui/win32/Gdi.h"
#include "ui/win32/ScreenMappingPainting.h"
#include "ui/win32/Win32Window.h"

namespace pen::win32 {

// The desktop as the system reports it now: the virtual screen and each
// monitor, in the order the system lists them.
DesktopGeometry ReadDesktop();

// The screen mapping window on Windows: a borderless, top-most window drawn
// with GDI that shows a TScreenMappingForm modally. It is the settings
// window's screen-mapping child; the key-setup windows come from elsewhere.
class TWin32ScreenMappingChild final : public TWin32Window, public IFormAChildren {
 public:
  static constexpr const wchar_t* kClassName = L"TScreenMappingForm";
  // Waits until a window hidden a moment ago has left the screen.
  using ScreenWait = void (*)();

  // Titled with the language's text for screen mapping.
  explicit TWin32ScreenMappingChild(const TLanguage& language, ScreenWait waitForScreen = &WaitForHiddenWindows);
  ~TWin32ScreenMappingChild() override;

  // The window, hidden, owned by `owner` (the settings window): it has no
  // taskbar button of its own and keeps the owner disabled while it is open.
  // False when it cannot be created.
  bool Create(HWND owner);
  TScreenMappingForm& Form() { return form_; }
  // The desktop picture it shows, once taken.
  bool HasDesktopPicture() const { return desktop_.has_value(); }

  // The settings window hides as this one opens; on Windows the compositor
  // may still show it for a frame, and the windows it uncovered repaint
  // after a moment. This waits for both.
  static void WaitForHiddenWindows();

  // IFormAChildren: the screen-mapping half.
  bool HasScreenMapping() const override { return Window() != nullptr; }
  void ShowScreenMapping(MapRect& screen, MapRect& tablet, const std::string& modelCode,
                         bool showTabletArea) override;
  bool HasKeySetup(KeySetupWindow) const override { return false; }
  bool ShowKeySetup(KeySetupWindow, ButtonDefinitions&) override { return false; }
  void BringKeySetupToFront(KeySetupWindow) override {}
  void CloseKeySetup(KeySetupWindow) override {}

 private:
  // TWin32Window: Alt+F4, Esc and Enter close it; there is nothing to
  // cancel, the caller always reads the areas. The window itself stays.
  void OnClose() override { closed_ = true; }
  void OnEnter() override { closed_ = true; }
  void OnPaint(HDC dc) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void CaptureDesktop();
  void Press(int x, int y);
  void Release(int x, int y);
  void Repaint() { InvalidateRect(Window(), nullptr, FALSE); }

  const TLanguage& language_;
  ScreenWait waitForScreen_;
  TScreenMappingForm form_;
  TFont captionFont_;
  std::optional<TBitmapDc> desktop_;  // the desktop's picture while it is open
  MapScreenButtons buttons_;
  bool open_ = false;
  bool closed_ = false;  // asked to close: the modal loop ends
};

}  // namespace pen::win32
