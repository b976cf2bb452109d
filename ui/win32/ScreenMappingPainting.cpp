#include "ui/win32/ScreenMappingPainting.h"

#include <string>

#include "ui/win32/FormAPainting.h"
#include "ui/win32/Gdi.h"
#include "ui/win32/WideText.h"

namespace pen::win32 {

namespace {

constexpr uint32_t kFormColour = 15790320;
constexpr uint32_t kWindowFrame = 8421504;
constexpr uint32_t kTabletFace = 10526880;
constexpr uint32_t kTabletOutline = 3158064;
constexpr COLORREF kActiveArea = RGB(0x46, 0x46, 0x46);
constexpr COLORREF kKeyGrey = RGB(0x90, 0x90, 0x90);
constexpr COLORREF kBezel = RGB(0x26, 0x26, 0x2A);
constexpr COLORREF kStand = RGB(0x5A, 0x5A, 0x60);
constexpr COLORREF kFrameBlue = RGB(0x00, 0x00, 0xFF);
constexpr COLORREF kFrameRed = RGB(0xFF, 0x00, 0x00);
constexpr COLORREF kGripYellow = RGB(0xFF, 0xFF, 0x00);
constexpr int kBorder = 5;
constexpr int kGrip = 5;

RECT Win(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// A filled shape without an outline of another colour.
void Shape(HDC dc, TabletShapeKind kind, const PixelRect& r, int radius, COLORREF c) {
  const TBrush brush = SolidBrush(c);
  const TPen pen = SolidPen(c);
  const TSelection useBrush(dc, brush), usePen(dc, pen);
  switch (kind) {
    case TabletShapeKind::Ellipse: Ellipse(dc, r.left, r.top, r.right, r.bottom); break;
    case TabletShapeKind::RoundRect: RoundRect(dc, r.left, r.top, r.right, r.bottom, 2 * radius, 2 * radius); break;
    case TabletShapeKind::Rect: Rectangle(dc, r.left, r.top, r.right, r.bottom); break;
  }
}

void PaintFrame(HDC dc, const TSizeFrame& frame, HFONT captionFont) {
  const RECT r = Win(frame.Rect());
  const COLORREF colour = frame.Dragging() ? kFrameRed : kFrameBlue;
  // Hatched, so that the picture below stays visible: the forward diagonal,
  // lines from the top left down to the bottom right.
  const TBrush hatch(CreateHatchBrush(HS_FDIAGONAL, colour));
  SetBkMode(dc, TRANSPARENT);
  FillRect(dc, &r, hatch);
  Fill(dc, {r.left, r.top, r.right, r.top + kBorder}, colour);
  Fill(dc, {r.left, r.bottom - kBorder, r.right, r.bottom}, colour);
  Fill(dc, {r.left, r.top, r.left + kBorder, r.bottom}, colour);
  Fill(dc, {r.right - kBorder, r.top, r.right, r.bottom}, colour);
  const COLORREF grip = frame.Dragging() ? kGripYellow : kFrameRed;
  const int xs[] = {r.left, (r.left + r.right - kGrip) / 2, r.right - kGrip};
  const int ys[] = {r.top, (r.top + r.bottom - kGrip) / 2, r.bottom - kGrip};
  for (int x : xs) {
    for (int y : ys) {
      if (x == xs[1] && y == ys[1]) continue;  // no grip in the middle
      Fill(dc, {x, y, x + kGrip, y + kGrip}, grip);
    }
  }
  if (!frame.Caption().empty()) {
    const std::wstring text = Wide(frame.Caption());
    const TSelection use(dc, captionFont);
    SetTextColor(dc, kFrameRed);
    RECT t = r;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
}

void PaintMonitor(HDC dc, const TDisplayMonitor& monitor, HDC desktop) {
  const PixelRect bezel = monitor.BezelRect();
  const int radius = TDisplayMonitor::kBezel;
  Shape(dc, TabletShapeKind::Rect, monitor.NeckRect(), 0, kStand);
  Shape(dc, TabletShapeKind::RoundRect, monitor.FootRect(), 4, kStand);
  Shape(dc, TabletShapeKind::RoundRect, bezel, radius, kBezel);
  const PixelRect s = monitor.ScreenRect();
  const PixelRect d = monitor.Desktop().desktop;
  if (desktop) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, s.left, s.top, s.Width(), s.Height(), desktop, 0, 0, d.Width(), d.Height(), SRCCOPY);
  } else {
    Fill(dc, Win(s), RGB(0, 0, 0));
  }
}

void PaintToggle(HDC dc, const PixelRect& r, bool hot, bool pressed) {
  Fill(dc, Win(r), pressed ? RGB(0xCC, 0xE4, 0xF7) : hot ? RGB(0xE5, 0xF1, 0xFB) : RGB(0xFF, 0xFF, 0xFF));
  Frame(dc, Win(r), RGB(0xA0, 0xA0, 0xA0));
  // Three bars: the button steps through a list.
  const int barW = r.Width() / 2, left = r.left + (r.Width() - barW) / 2;
  const int cy = (r.top + r.bottom) / 2;
  for (int dy : {-7, 0, 7}) Fill(dc, {left, cy + dy - 1, left + barW, cy + dy + 2}, RGB(0x40, 0x40, 0x40));
}

void PaintTablet(HDC dc, const TScreenMappingForm& form) {
  const PixelRect face = TScreenMappingForm::kTabletFace;
  Fill(dc, Win(face), Colour(kTabletFace));
  const TabletDrawing* d = form.Drawing();
  if (!d) return;
  auto px = [&](const TabletShape& s) { return TScreenMappingForm::ShapePixels(*d, s); };
  Shape(dc, d->outline.kind, px(d->outline), 2 * d->outline.radius, Colour(kTabletOutline));
  Shape(dc, d->activeArea.kind, px(d->activeArea), 2 * d->activeArea.radius, kActiveArea);
  for (const TabletShape& s : d->others) Shape(dc, s.kind, px(s), 2 * s.radius, kKeyGrey);
}

}  // namespace

void PaintScreenMapping(HDC dc, const TScreenMappingForm& form, HDC desktop, const MapScreenButtons& buttons,
                        HFONT captionFont) {
  RECT client{0, 0, TScreenMappingForm::kWidth, TScreenMappingForm::kHeight};
  Fill(dc, client, Colour(kFormColour));
  Frame(dc, client, Colour(kWindowFrame));

  PaintMonitor(dc, form.Monitor(), desktop);
  auto hot = [&](MapScreenHit h) { return buttons.hot == h; };
  auto pressed = [&](MapScreenHit h) { return buttons.pressed == h && buttons.hot == h; };
  PaintToggle(dc, TScreenMappingForm::kToggleScreen, hot(MapScreenHit::ToggleScreen),
              pressed(MapScreenHit::ToggleScreen));
  if (form.TabletShown()) {
    PaintTablet(dc, form);
    PaintFrame(dc, form.TabletFrame(), captionFont);
    PaintToggle(dc, TScreenMappingForm::kToggleTablet, hot(MapScreenHit::ToggleTablet),
                pressed(MapScreenHit::ToggleTablet));
  }
  PaintFrame(dc, form.Monitor().Shape(), captionFont);
  PaintCloseButton(dc, Win(TScreenMappingForm::kCloseButton),
                   hot(MapScreenHit::CloseButton) || pressed(MapScreenHit::CloseButton));
}

}  // namespace pen::win32
