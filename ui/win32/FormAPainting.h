#pragma once
#include <windows.h>

#include <cstdint>

#include "ui/PressureLine.h"
#include "ui/TestDrawArea.h"
#include "ui/win32/Gdi.h"

namespace pen::win32 {

// The drawing of the settings window's own controls, with GDI and GDI+.
COLORREF Colour(uint32_t delphiColour);

void PaintFlatButton(const DRAWITEMSTRUCT& item, HFONT font);
void PaintCloseButton(HDC dc, const RECT& r, bool hot);
void PaintTracker(HDC dc, const RECT& r, int32_t value, bool focused, HFONT font);
void PaintChart(HDC dc, const RECT& r, const TPressureLine& chart);
void PaintBar(HDC dc, const RECT& r, int32_t value);
// `picture` stretched over `r`; a blank area when there is none.
void PaintPicture(HDC dc, const RECT& r, HBITMAP picture);
void PaintPanel(HDC dc, const RECT& r);

// A stroke step drawn into the test area's picture.
void PaintStrokeStep(HDC dc, const StrokeStep& step);

// The test area's cursor; the white background is transparent.
TCursor MakeTestAreaCursor(const CursorShape& shape);

// A copy of the pen picture with the pressure strips painted over.
TBitmap BlankedPenPicture(HBITMAP full);

}  // namespace pen::win32
