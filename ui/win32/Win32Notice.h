#pragma once
#include <windows.h>

#include <string>

#include "common/Clock.h"
#include "common/win32/Win32WindowTimer.h"
#include "ui/Notice.h"
#include "ui/win32/Gdi.h"
#include "ui/win32/Win32Window.h"

namespace pen::win32 {

// The notice on screen: a round 220 x 220 window at the bottom centre,
// translucent, on top of everything, never taking the focus and without a
// taskbar button. The timing and the marker are TFormNotice's.
class TWin32Notice final : public TWin32Window, public INoticeView {
 public:
  explicit TWin32Notice(IClock& clock);
  ~TWin32Notice() override;

  TFormNotice& Notice() { return notice_; }
  // Saves a picture of the window as PNG `ms` after it next shows.
  void PictureAfterShow(const std::string& pngFile, uint32_t ms);
  // A picture of the window as drawn last (220 x 220), for tests and
  // pictures.
  HDC Composite() const { return composite_; }

  // INoticeView
  void Place() override;
  void Draw() override;
  void Show() override;
  void Hide() override;
  void SetAlpha(uint8_t alpha) override;

 protected:
  void OnPaint(HDC dc) override;
  void OnTimer(UINT_PTR id) override;

 private:
  Win32WindowTimer hideTimer_;
  TFormNotice notice_;
  TBitmapDc composite_;
  std::string pictureFile_;
  uint32_t pictureMs_ = 0;
};

}  // namespace pen::win32
