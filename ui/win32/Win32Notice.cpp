#include "ui/win32/Win32Notice.h"

#include <algorithm>

#include "ui/win32/GdiPlus.h"

namespace pen::win32 {

namespace {
const WindowClass kClass{L"PenWheelNotice", CS_HREDRAW | CS_VREDRAW};
constexpr int kSize = TFormNotice::kSize;
constexpr COLORREF kDisc = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kDiscOutline = RGB(0x50, 0x50, 0x50);
constexpr COLORREF kMarker = RGB(41, 143, 204);
constexpr UINT_PTR kPictureTimer = 1;

void Disc(HDC dc, int left, int top, int size, COLORREF fill, COLORREF outline) {
  const TBrush brush = SolidBrush(fill);
  const TPen pen = SolidPen(outline);
  const TSelection b(dc, brush);
  const TSelection p(dc, pen);
  Ellipse(dc, left, top, left + size, top + size);
}

// `icon` stretched into `box`, its black left out.
void DrawIcon(HDC dc, const WheelIcon& icon, const RECT& box) {
  if (!icon.argb || icon.width <= 0 || icon.height <= 0) return;
  const int w = box.right - box.left, h = box.bottom - box.top;
  for (int y = 0; y < h; ++y) {
    const int sy = y * icon.height / h;
    for (int x = 0; x < w; ++x) {
      const uint32_t c = icon.argb[sy * icon.width + x * icon.width / w] & 0xFFFFFF;
      if (c) SetPixelV(dc, box.left + x, box.top + y, RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
    }
  }
}
}  // namespace

TWin32Notice::TWin32Notice(IClock& clock)
    : notice_(NoticePorts{hideTimer_, clock, *this}), composite_(nullptr, kSize, kSize) {
  Style style;
  style.style = WS_POPUP;
  style.exStyle = WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED;
  style.width = kSize;
  style.height = kSize;
  if (CreateWindowOf(kClass, style)) {
    // The window takes the region: it is freed with the window.
    SetWindowRgn(Window(), CreateEllipticRgn(0, 0, kSize + 1, kSize + 1), FALSE);
    TWin32Window::SetAlpha(TFormNotice::kAlpha);
  }
}

TWin32Notice::~TWin32Notice() { Destroy(); }

void TWin32Notice::Place() {
  const auto at = TFormNotice::PlaceOn(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(Window(), HWND_TOPMOST, at[0], at[1], 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWin32Notice::Draw() {
  if (!composite_.Ok()) return;
  HDC dc = composite_;
  Fill(dc, RECT{0, 0, kSize, kSize}, RGB(0, 0, 0));
  Disc(dc, 40, 40, 140, kDisc, kDiscOutline);
  for (int i = 0; i < 16; ++i) {
    const auto d = TFormNotice::DotAt(i);
    Disc(dc, d[0], d[1], 3, kDisc, kDisc);
  }
  const auto m = TFormNotice::MarkerAt(notice_.RingPosition());
  Disc(dc, m[0], m[1], 24, kMarker, kMarker);
  {
    const TFont font = DialogFont(MulDiv(std::max(notice_.NameFontSize(), 1), 96, 72), FW_NORMAL);
    const TSelection f(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TFormNotice::kTextColour);
    RECT r{10, 60, 210, 200};
    const std::u16string& text = notice_.NoticeText();
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  DrawIcon(dc, notice_.NoticeIcon(), RECT{80, 50, 140, 110});
  InvalidateRect(Window(), nullptr, FALSE);
  UpdateWindow(Window());
}

void TWin32Notice::Show() {
  ShowWindow(Window(), SW_SHOWNOACTIVATE);
  if (!pictureFile_.empty()) SetTimer(Window(), kPictureTimer, pictureMs_ ? pictureMs_ : 1, nullptr);
  SetWindowPos(Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  UpdateWindow(Window());
}

void TWin32Notice::PictureAfterShow(const std::string& pngFile, uint32_t ms) {
  pictureFile_ = pngFile;
  pictureMs_ = ms;
}

void TWin32Notice::OnTimer(UINT_PTR id) {
  if (id != kPictureTimer) return;
  KillTimer(Window(), kPictureTimer);
  if (IsWindowVisible(Window())) SaveWindowShot(Window(), pictureFile_);
  pictureFile_.clear();
}

void TWin32Notice::Hide() { ShowWindow(Window(), SW_HIDE); }

void TWin32Notice::SetAlpha(uint8_t alpha) { TWin32Window::SetAlpha(alpha); }

void TWin32Notice::OnPaint(HDC dc) {
  if (composite_.Ok()) BitBlt(dc, 0, 0, kSize, kSize, composite_, 0, 0, SRCCOPY);
}

}  // namespace pen::win32
