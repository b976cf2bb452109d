#include "ui/win32/Gdi.h"

namespace pen::win32 {

namespace {

// A bitmap compatible with a memory context is monochrome: the colours
// come from a real one, the screen's when none is given.
HBITMAP CompatibleBitmap(HDC like, int width, int height) {
  if (like) return CreateCompatibleBitmap(like, width, height);
  TWindowDc screen;
  return CreateCompatibleBitmap(screen, width, height);
}

}  // namespace

TBrush SolidBrush(COLORREF colour) { return TBrush(CreateSolidBrush(colour)); }

TPen SolidPen(COLORREF colour, int width) { return TPen(CreatePen(PS_SOLID, width, colour)); }

TFont DialogFont(int height, int weight, int escapement) {
  return TFont(CreateFontW(-height, 0, escapement, escapement, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           L"MS Shell Dlg 2"));
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  const TBrush brush = SolidBrush(colour);
  FillRect(dc, &r, brush);
}

void Frame(HDC dc, const RECT& r, COLORREF colour) {
  const TBrush brush = SolidBrush(colour);
  FrameRect(dc, &r, brush);
}

TBitmapDc::TBitmapDc(HDC like, int width, int height)
    : bitmap_(CompatibleBitmap(like, width, height)), dc_(like), selection_(dc_, bitmap_) {}

}  // namespace pen::win32
