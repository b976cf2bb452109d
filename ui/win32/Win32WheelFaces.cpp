#include "ui/win32/Win32WheelFaces.h"

#include <algorithm>
#include <cstring>

#include "ui/FaceGeometry.h"
#include "ui/win32/Gdi.h"
#include "ui/win32/GdiPlus.h"

namespace pen::win32 {

namespace {
using namespace face;

constexpr int kFirstNameSlot = 34;
constexpr COLORREF kIconInk = RGB(236, 236, 236);
constexpr COLORREF kIconAccent = RGB(41, 143, 204);

// A picture of ours in a DIB section, with a device context to draw on.
struct Canvas {
  Canvas(int w, int h) : width(w), height(h), bitmap(CreateDib32(w, h, &bits)), selection(dc, bitmap) {}
  uint32_t* Pixels() const { return static_cast<uint32_t*>(bits); }
  std::vector<uint32_t> Copy() const {
    GdiFlush();
    return std::vector<uint32_t>(Pixels(), Pixels() + static_cast<size_t>(width) * height);
  }
  int width, height;
  void* bits = nullptr;
  TBitmap bitmap;
  TMemoryDc dc;
  TSelection selection;
};

TPen FlatPen(COLORREF colour, int width) {
  LOGBRUSH brush{BS_SOLID, colour, 0};
  return TPen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, static_cast<DWORD>(width),
                           &brush, 0, nullptr));
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void Triangle(HDC dc, POINT a, POINT b, POINT c) {
  const POINT p[3] = {a, b, c};
  Polygon(dc, p, 3);
}

// The eight icons, drawn by us in light strokes on black.
void DrawIcon(HDC dc, int function) {
  const TPen pen = FlatPen(kIconInk, 6);
  const TPen thin = FlatPen(kIconInk, 4);
  const TBrush ink = SolidBrush(kIconInk);
  const TBrush accent = SolidBrush(kIconAccent);
  const TSelection usePen(dc, pen);
  const TSelection noFill(dc, GetStockObject(NULL_BRUSH));
  switch (function) {
    case 0: {  // mouse wheel: a mouse, its wheel and the turn
      RoundRect(dc, 28, 14, 72, 86, 40, 40);
      Line(dc, 28, 44, 72, 44);
      Line(dc, 50, 14, 50, 44);
      const TSelection fill(dc, accent);
      const TSelection noPen(dc, GetStockObject(NULL_PEN));
      RoundRect(dc, 45, 22, 56, 40, 8, 8);
      break;
    }
    case 1: {  // line width: strokes from thin to thick
      const int widths[3] = {4, 10, 18};
      int y = 22;
      for (int w : widths) {
        const TPen stroke = FlatPen(kIconInk, w);
        const TSelection s(dc, stroke);
        Line(dc, 16, y, 84, y);
        y += w / 2 + 16;
      }
      break;
    }
    case 2: {  // zoom: a magnifier with a plus
      Ellipse(dc, 14, 14, 66, 66);
      const TPen handle = FlatPen(kIconInk, 12);
      const TSelection s(dc, handle);
      Line(dc, 60, 60, 86, 86);
      const TSelection p(dc, thin);
      Line(dc, 28, 40, 52, 40);
      Line(dc, 40, 28, 40, 52);
      break;
    }
    case 3: {  // rotate canvas: a canvas and a turning arrow
      const TSelection p(dc, thin);
      const POINT canvas[5] = {{50, 28}, {72, 50}, {50, 72}, {28, 50}, {50, 28}};
      Polyline(dc, canvas, 5);
      const TSelection s(dc, pen);
      ::Arc(dc, 10, 10, 90, 90, 90, 50, 50, 10);  // from the top round to the right, the long way
      const TSelection fill(dc, ink);
      Triangle(dc, {78, 40}, {98, 40}, {88, 58});
      break;
    }
    case 4: {  // disabled: a circle struck through
      const TPen red = FlatPen(RGB(220, 60, 60), 8);
      const TSelection s(dc, red);
      Ellipse(dc, 16, 16, 84, 84);
      Line(dc, 28, 72, 72, 28);
      break;
    }
    case 5: {  // keys: two key caps
      const TSelection p(dc, thin);
      RoundRect(dc, 8, 30, 46, 68, 10, 10);
      RoundRect(dc, 54, 30, 92, 68, 10, 10);
      const TSelection fill(dc, ink);
      const TSelection noPen(dc, GetStockObject(NULL_PEN));
      Rectangle(dc, 18, 56, 37, 60);  // a space bar's mark
      Triangle(dc, {73, 38}, {63, 56}, {83, 56});  // an arrow key's mark
      break;
    }
    case 6: {  // undo / redo: two arrows bending back
      ::Arc(dc, 12, 30, 60, 78, 36, 30, 12, 54);
      ::Arc(dc, 40, 30, 88, 78, 88, 54, 64, 30);
      const TSelection fill(dc, ink);
      Triangle(dc, {36, 18}, {36, 42}, {22, 30});
      Triangle(dc, {64, 18}, {64, 42}, {78, 30});
      break;
    }
    default: {  // volume: a speaker and its sound
      const TSelection fill(dc, ink);
      const POINT speaker[6] = {{12, 38}, {28, 38}, {48, 20}, {48, 80}, {28, 62}, {12, 62}};
      Polygon(dc, speaker, 6);
      const TSelection noFill2(dc, GetStockObject(NULL_BRUSH));
      ::Arc(dc, 40, 34, 72, 66, 56, 66, 56, 34);
      ::Arc(dc, 36, 18, 88, 82, 62, 82, 62, 18);
      break;
    }
  }
}

int PointsToPixels(int points) { return MulDiv(points, 96, 72); }

}  // namespace

TWin32WheelFaces::TWin32WheelFaces(const TLanguage& language) : language_(language), icons_(DrawIcons()) {}

std::array<std::vector<uint32_t>, 8> TWin32WheelFaces::DrawIcons() {
  std::array<std::vector<uint32_t>, 8> icons;
  for (int i = 0; i < 8; ++i) {
    Canvas c(kIconSize, kIconSize);
    if (!c.bits) continue;
    std::memset(c.bits, 0, static_cast<size_t>(kIconSize) * kIconSize * 4);
    DrawIcon(c.dc, i);
    icons[static_cast<size_t>(i)] = c.Copy();
  }
  return icons;
}

size_t TWin32WheelFaces::Index(int function) { return static_cast<size_t>(std::clamp(function, 0, 7)); }

std::u16string TWin32WheelFaces::FunctionName(int function) const { return names_[Index(function)]; }

WheelIcon TWin32WheelFaces::FunctionIcon(int function) const {
  const std::vector<uint32_t>& icon = icons_[Index(function)];
  if (icon.empty()) return WheelIcon{static_cast<int>(Index(function))};
  return WheelIcon{static_cast<int>(Index(function)), icon.data(), kIconSize, kIconSize};
}

const std::vector<uint32_t>& TWin32WheelFaces::Face(int function) const { return faces_[Index(function)]; }

void TWin32WheelFaces::ReloadNames() {
  for (int i = 0; i < 8; ++i) names_[static_cast<size_t>(i)] = language_.Slot(kFirstNameSlot + i);
  Render();
}

void TWin32WheelFaces::Render() {
  Canvas dial(kDial, kDial);
  Canvas work(kDial, kDial);
  if (!dial.bits || !work.bits) return;
  const RECT whole{0, 0, kDial, kDial};
  // 1. The dial: its outline and sector lines bound each sector's fill.
  Fill(dial.dc, whole, RGB(0, 0, 0));
  {
    const TPen outline = SolidPen(kOutlineColour, kOutlinePen);
    const TSelection p(dial.dc, outline);
    const TSelection b(dial.dc, GetStockObject(NULL_BRUSH));
    Ellipse(dial.dc, 0, 0, kDial, kDial);
    for (const auto& end : kBoundary) Line(dial.dc, kCentre, kCentre, kCentre + end[0], kCentre + end[1]);
    const TPen discPen = SolidPen(kInnerDiscColour);
    const TBrush disc = SolidBrush(kInnerDiscColour);
    const TSelection dp(dial.dc, discPen);
    const TSelection db(dial.dc, disc);
    Ellipse(dial.dc, kInnerDiscFrom, kInnerDiscFrom, kInnerDiscTo, kInnerDiscTo);
  }
  const std::vector<uint32_t> dialPixels = dial.Copy();

  // 2. The icon layer: each icon centred on its sector.
  std::vector<uint32_t> iconLayer(static_cast<size_t>(kDial) * kDial, 0);
  for (size_t f = 0; f < 8; ++f) {
    if (icons_[f].empty()) continue;
    const int left = kCentre + kIconCentre[f][0] - kIconSize / 2;
    const int top = kCentre + kIconCentre[f][1] - kIconSize / 2;
    for (int y = 0; y < kIconSize; ++y) {
      std::copy_n(&icons_[f][static_cast<size_t>(y * kIconSize)], kIconSize,
                  &iconLayer[static_cast<size_t>((top + y) * kDial + left)]);
    }
  }

  // 3. One font for all eight names, fitted to the widest.
  fontSize_ = FitNameFont(kStartPoints, [&](int points) {
    const TFont font = DialogFont(PointsToPixels(points), FW_NORMAL);
    const TSelection f(work.dc, font);
    int widest = 0;
    for (const std::u16string& name : names_) {
      SIZE size{};
      GetTextExtentPoint32W(work.dc, reinterpret_cast<const wchar_t*>(name.c_str()), static_cast<int>(name.size()),
                            &size);
      widest = std::max(widest, static_cast<int>(size.cx));
    }
    return widest;
  });
  const TFont nameFont = DialogFont(PointsToPixels(fontSize_), FW_NORMAL);

  // 4. Each face.
  const TBrush grey = SolidBrush(kSectorColour);
  const TPen arcPen = FlatPen(kArcColour, kArcPen);
  for (size_t f = 0; f < 8; ++f) {
    GdiFlush();
    std::copy(dialPixels.begin(), dialPixels.end(), work.Pixels());
    {
      // The black of the sector's ring, up to its outline, the lines and
      // the inner disc; the disc joins every sector, so the fill does not
      // run over it.
      const TSelection b(work.dc, grey);
      ExtFloodFill(work.dc, kCentre + kIconCentre[f][0], kCentre + kIconCentre[f][1], RGB(0, 0, 0),
                   FLOODFILLSURFACE);
      // The arc on the sector's outer edge, counter-clockwise from its
      // boundary i to boundary i - 1.
      const TSelection p(work.dc, arcPen);
      const auto& to = kBoundary[static_cast<size_t>(BoundaryAfter(static_cast<int>(f)))];
      const auto& from = kBoundary[static_cast<size_t>(BoundaryBefore(static_cast<int>(f)))];
      ::Arc(work.dc, kArcBoxFrom, kArcBoxFrom, kArcBoxTo, kArcBoxTo, kCentre + to[0], kCentre + to[1],
          kCentre + from[0], kCentre + from[1]);
    }
    GdiFlush();
    uint32_t* px = work.Pixels();
    for (size_t k = 0; k < iconLayer.size(); ++k) {
      if (iconLayer[k] & 0xFFFFFF) px[k] = iconLayer[k];
    }
    {
      const TSelection font(work.dc, nameFont);
      SetBkMode(work.dc, TRANSPARENT);
      SetTextColor(work.dc, kNameColour);
      RECT r = whole;
      const std::u16string& name = names_[f];
      DrawTextW(work.dc, reinterpret_cast<const wchar_t*>(name.c_str()), static_cast<int>(name.size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    dial_ = work.Copy();
    for (uint32_t& p : dial_) p &= 0xFFFFFF;
    faces_[f].assign(static_cast<size_t>(kFace) * kFace, 0);
    Average3x3(dial_, faces_[f]);
  }
}

}  // namespace pen::win32
