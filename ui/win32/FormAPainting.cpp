#include "ui/win32/FormAPainting.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ui/FormALayout.h"
#include "ui/Tracker.h"
#include "ui/win32/GdiPlus.h"
#include "ui/win32/GdiPlusApi.h"

namespace pen::win32 {

namespace {

constexpr COLORREF kButtonFace = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kButtonHot = RGB(0xE5, 0xF1, 0xFB);
constexpr COLORREF kButtonBorder = RGB(0xA0, 0xA0, 0xA0);
constexpr COLORREF kAccent = RGB(0x1E, 0x6F, 0xC8);
constexpr COLORREF kGrid = RGB(0xE4, 0xE4, 0xE4);

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF c, int width = 1) {
  const TPen pen = SolidPen(c, width);
  const TSelection use(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

}  // namespace

COLORREF Colour(uint32_t c) { return static_cast<COLORREF>(c & 0xFFFFFF); }

void PaintFlatButton(const DRAWITEMSTRUCT& item, HFONT font) {
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool disabled = item.itemState & ODS_DISABLED;
  Fill(dc, r, pressed ? RGB(0xCC, 0xE4, 0xF7) : (item.itemState & ODS_HOTLIGHT) ? kButtonHot : kButtonFace);
  Frame(dc, r, (item.itemState & ODS_FOCUS) ? kAccent : kButtonBorder);
  wchar_t text[256];
  const int n = GetWindowTextW(item.hwndItem, text, 256);
  const TSelection use(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, disabled ? RGB(0x90, 0x90, 0x90) : RGB(0x20, 0x20, 0x20));
  RECT t = r;
  if (pressed) OffsetRect(&t, 1, 1);
  DrawTextW(dc, text, n, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void PaintCloseButton(HDC dc, const RECT& r, bool hot) {
  Fill(dc, r, hot ? RGB(0xE8, 0x11, 0x23) : Colour(form_a::kFormColour));
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int half = std::min(w, h) / 4;
  const int cx = r.left + w / 2, cy = r.top + h / 2;
  const COLORREF cross = hot ? RGB(0xFF, 0xFF, 0xFF) : RGB(0xF0, 0x80, 0x80);
  Line(dc, cx - half, cy - half, cx + half + 1, cy + half + 1, cross, 2);
  Line(dc, cx - half, cy + half, cx + half + 1, cy - half - 1, cross, 2);
}

void PaintTracker(HDC dc, const RECT& r, int32_t value, bool focused, HFONT font) {
  Fill(dc, r, Colour(form_a::kFormColour));
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int trackY = r.top + h / 2;
  const int half = tracker::kThumbWidth / 2;
  RECT track{r.left + half, trackY - 2, r.right - half, trackY + 2};
  Fill(dc, track, RGB(0xC8, 0xC8, 0xC8));
  // Ticks at both ends and in the middle (no adjustment).
  for (int32_t v : {tracker::kMin, 0, tracker::kMax}) {
    const int x = r.left + tracker::ThumbLeft(v, w) + half;
    Line(dc, x, r.bottom - 6, x, r.bottom - 1, RGB(0x80, 0x80, 0x80));
  }
  const int left = r.left + tracker::ThumbLeft(value, w);
  RECT thumb{left, trackY - 11, left + tracker::kThumbWidth, trackY + 11};
  Fill(dc, thumb, focused ? kAccent : RGB(0x3C, 0x82, 0xD2));
  const TSelection use(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
  const std::wstring text = std::to_wstring(value);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &thumb, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void PaintChart(HDC dc, const RECT& r, const TPressureLine& chart) {
  Fill(dc, r, RGB(0xFF, 0xFF, 0xFF));
  const int w = r.right - r.left, h = r.bottom - r.top;
  for (int y : TPressureLine::GridLines(h)) Line(dc, r.left, r.top + y, r.right, r.top + y, kGrid);
  const auto points = chart.Points(w, h);
  if (points.size() >= 2) {
    std::vector<POINT> line;
    for (const auto& p : points) line.push_back({r.left + p.x, r.top + p.y});
    const TPen pen = SolidPen(RGB(0xD0, 0x20, 0x20), TPressureLine::kLineWidth);
    const TSelection use(dc, pen);
    Polyline(dc, line.data(), static_cast<int>(line.size()));
  }
  Frame(dc, r, RGB(0xB0, 0xB0, 0xB0));
}

void PaintBar(HDC dc, const RECT& r, int32_t value) {
  Fill(dc, r, RGB(0xE6, 0xE6, 0xE6));
  const int fill = BarFill(value, r.bottom - r.top);
  RECT f{r.left, r.bottom - fill, r.right, r.bottom};
  Fill(dc, f, RGB(0x06, 0xB0, 0x25));
  Frame(dc, r, RGB(0xB0, 0xB0, 0xB0));
}

void PaintPicture(HDC dc, const RECT& r, HBITMAP picture) {
  Fill(dc, r, Colour(form_a::kFormColour));
  if (!picture) return;
  BITMAP bm{};
  GetObjectW(picture, sizeof bm, &bm);
  const TMemoryDc src(dc);
  const TSelection use(src, picture);
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, src, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
}

void PaintPanel(HDC dc, const RECT& r) {
  Fill(dc, r, RGB(0xFF, 0xFF, 0xFF));
  Frame(dc, r, RGB(0xC0, 0xC0, 0xC0));
}

void PaintStrokeStep(HDC dc, const StrokeStep& step) {
  Gdiplus::Graphics g(dc);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::SolidBrush blue(Gdiplus::Color(255, 0, 0, 255));
  Gdiplus::PointF quad[4];
  for (int i = 0; i < 4; ++i) {
    quad[i] = Gdiplus::PointF(static_cast<Gdiplus::REAL>(step.quad[i].x), static_cast<Gdiplus::REAL>(step.quad[i].y));
  }
  g.FillPolygon(&blue, quad, 4);
  const auto d = static_cast<Gdiplus::REAL>(step.diameter);
  g.FillEllipse(&blue, static_cast<Gdiplus::REAL>(step.centre.x) - d / 2,
                static_cast<Gdiplus::REAL>(step.centre.y) - d / 2, d, d);
}

TCursor MakeTestAreaCursor(const CursorShape& shape) {
  const int size = CursorShape::kSize;
  void* bits = nullptr;
  const TBitmap colour = CreateDib32(size, size, &bits);
  if (!colour) return {};
  {
    const TMemoryDc dc;
    const TSelection use(dc, colour);
    {
      Gdiplus::Graphics g(dc);
      g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
      g.Clear(Gdiplus::Color(255, 255, 255, 255));
      const auto cx = static_cast<Gdiplus::REAL>(shape.centre.x), cy = static_cast<Gdiplus::REAL>(shape.centre.y);
      Gdiplus::Pen grey(Gdiplus::Color(255, 0x80, 0x80, 0x80), static_cast<Gdiplus::REAL>(CursorShape::kLineWidth));
      grey.SetStartCap(Gdiplus::LineCapRound);
      grey.SetEndCap(Gdiplus::LineCapRound);
      if (shape.lineEnd.x != shape.centre.x || shape.lineEnd.y != shape.centre.y) {
        g.DrawLine(&grey, cx, cy, static_cast<Gdiplus::REAL>(shape.lineEnd.x),
                   static_cast<Gdiplus::REAL>(shape.lineEnd.y));
      }
      Gdiplus::Pen red(Gdiplus::Color(255, 255, 0, 0), 1);
      const auto r = static_cast<Gdiplus::REAL>(CursorShape::kRingDiameter / 2);
      g.DrawEllipse(&red, cx - r, cy - r, 2 * r, 2 * r);
    }
    GdiFlush();
  }
  // White (and near white, where smoothing blended) is see-through; every
  // other pixel is opaque.
  auto* px = static_cast<uint32_t*>(bits);
  std::vector<uint8_t> mask(static_cast<size_t>(size) * ((size + 15) / 16 * 2), 0);
  const int stride = (size + 15) / 16 * 2;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      uint32_t& p = px[y * size + x];
      const bool white = ((p >> 16) & 0xFF) > 0xF0 && ((p >> 8) & 0xFF) > 0xF0 && (p & 0xFF) > 0xF0;
      if (white) {
        p = 0;
        mask[static_cast<size_t>(y * stride + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
      } else {
        p |= 0xFF000000u;
      }
    }
  }
  const TBitmap maskBitmap(CreateBitmap(size, size, 1, 1, mask.data()));
  ICONINFO info{};
  info.fIcon = FALSE;
  info.xHotspot = static_cast<DWORD>(size / 2);
  info.yHotspot = static_cast<DWORD>(size / 2);
  info.hbmMask = maskBitmap;
  info.hbmColor = colour;
  // The system copies both bitmaps into the cursor.
  return TCursor(CreateIconIndirect(&info));
}

TBitmap BlankedPenPicture(HBITMAP full) {
  if (!full) return {};
  TBitmap copy(static_cast<HBITMAP>(CopyImage(full, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!copy) return {};
  BITMAP bm{};
  GetObjectW(copy, sizeof bm, &bm);
  const TMemoryDc dc;
  const TSelection use(dc, copy);
  // The strips are given in the picture's own 78 x 370 pixels.
  auto sx = [&](int x) { return x * bm.bmWidth / form_a::kPenWidth; };
  auto sy = [&](int y) { return y * bm.bmHeight / form_a::kPenHeight; };
  for (const RECT& strip : {RECT{52, 100, 78, 370}, RECT{22, 360, 78, 370}}) {
    RECT r{sx(strip.left), sy(strip.top), sx(strip.right), sy(strip.bottom)};
    Fill(dc, r, Colour(form_a::kFormColour));
  }
  return copy;
}

}  // namespace pen::win32
