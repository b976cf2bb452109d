#include "ui/PenPictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ui/FormALayout.h"

namespace pen {

namespace {

struct Rgb {
  uint8_t r, g, b;
};

constexpr Rgb kBackground{0xF0, 0xF0, 0xF0};  // the form's colour
constexpr Rgb kBody{0x33, 0x3A, 0x45};
constexpr Rgb kBodyLight{0x55, 0x60, 0x70};
constexpr Rgb kGrip{0x20, 0x24, 0x2A};
constexpr Rgb kButton{0x8A, 0x96, 0xA6};
constexpr Rgb kNib{0xC8, 0xCC, 0xD2};
constexpr Rgb kBlue{0x1E, 0x6F, 0xC8};
constexpr Rgb kPale{0xB8, 0xD4, 0xF2};
constexpr Rgb kInk{0x30, 0x30, 0x30};
constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};

class Picture {
 public:
  Picture(int w, int h, Rgb fill) : w_(w), h_(h), px_(static_cast<size_t>(w * h), fill) {}

  void Set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<size_t>(y * w_ + x)] = c;
  }
  void Rect(int x0, int y0, int x1, int y1, Rgb c) {  // [x0, x1) x [y0, y1)
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) Set(x, y, c);
    }
  }
  void Disc(double cx, double cy, double r, Rgb c) {
    for (int y = static_cast<int>(cy - r); y <= static_cast<int>(cy + r) + 1; ++y) {
      for (int x = static_cast<int>(cx - r); x <= static_cast<int>(cx + r) + 1; ++x) {
        if ((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy) <= r * r) Set(x, y, c);
      }
    }
  }
  // A row-by-row span from xl to xr that changes linearly from y0 to y1.
  void Taper(int y0, int y1, double xl0, double xr0, double xl1, double xr1, Rgb c) {
    for (int y = y0; y < y1; ++y) {
      const double t = (y - y0 + 0.5) / (y1 - y0);
      const double l = xl0 + (xl1 - xl0) * t, r = xr0 + (xr1 - xr0) * t;
      for (int x = static_cast<int>(std::lround(l)); x < static_cast<int>(std::lround(r)); ++x) Set(x, y, c);
    }
  }

  std::string Bmp() const {
    const int stride = (w_ * 3 + 3) / 4 * 4;
    const uint32_t imageBytes = static_cast<uint32_t>(stride * h_);
    std::string out;
    auto u16 = [&out](uint32_t v) {
      out.push_back(static_cast<char>(v & 0xFF));
      out.push_back(static_cast<char>((v >> 8) & 0xFF));
    };
    auto u32 = [&u16](uint32_t v) {
      u16(v & 0xFFFF);
      u16(v >> 16);
    };
    out += "BM";
    u32(54 + imageBytes);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<uint32_t>(w_));
    u32(static_cast<uint32_t>(h_));
    u16(1);
    u16(24);
    u32(0);
    u32(imageBytes);
    u32(3780);  // 96 dpi
    u32(3780);
    u32(0);
    u32(0);
    for (int y = h_ - 1; y >= 0; --y) {  // bottom row first
      for (int x = 0; x < w_; ++x) {
        const Rgb& c = px_[static_cast<size_t>(y * w_ + x)];
        out.push_back(static_cast<char>(c.b));
        out.push_back(static_cast<char>(c.g));
        out.push_back(static_cast<char>(c.r));
      }
      out.append(static_cast<size_t>(stride - w_ * 3), '\0');
    }
    return out;
  }

 private:
  int w_, h_;
  std::vector<Rgb> px_;
};

// Capital letters of a 5 x 7 pixel font, one byte per row, bit 4 leftmost.
struct Glyph {
  char c;
  uint8_t rows[7];
};
constexpr Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
};

void Text(Picture& p, int x, int y, int scale, const char* text, Rgb c) {
  for (; *text; ++text, x += 6 * scale) {
    for (const Glyph& g : kFont) {
      if (g.c != *text) continue;
      for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
          if (g.rows[row] & (0x10 >> col)) {
            p.Rect(x + col * scale, y + row * scale, x + (col + 1) * scale, y + (row + 1) * scale, c);
          }
        }
      }
    }
  }
}

}  // namespace

std::string PenShapeBmp() {
  Picture p(form_a::kPenWidth, form_a::kPenHeight, kBackground);
  // The pen, upright, its tip at the bottom left of the pressure bracket.
  p.Disc(29, 22, 13, kBody);
  p.Rect(16, 22, 42, 250, kBody);
  p.Rect(19, 26, 23, 244, kBodyLight);  // a highlight along the barrel
  p.Rect(26, 140, 32, 160, kButton);    // the two side buttons
  p.Rect(26, 166, 32, 186, kButton);
  p.Rect(16, 250, 42, 300, kGrip);
  for (int y = 254; y < 298; y += 6) p.Rect(16, y, 42, y + 2, kBody);
  p.Taper(300, 340, 16, 42, 25, 33, kNib);
  p.Taper(340, 352, 25, 33, 28, 30, kInk);
  // The pressure scale: soft at the top, hard at the bottom, in the strips
  // that vanish when the tablet keeps its own pressure.
  for (int y = 110; y < 350; ++y) {
    const double t = (y - 110) / 240.0;
    const Rgb c{static_cast<uint8_t>(kPale.r + (kBlue.r - kPale.r) * t),
                static_cast<uint8_t>(kPale.g + (kBlue.g - kPale.g) * t),
                static_cast<uint8_t>(kPale.b + (kBlue.b - kPale.b) * t)};
    const int half = 2 + static_cast<int>(5 * t);
    p.Rect(65 - half, y, 65 + half, y + 1, c);
  }
  for (int y = 110; y <= 350; y += 30) p.Rect(54, y, 58, y + 1, kInk);
  // The bracket from the tip to the scale.
  p.Rect(30, 362, 66, 364, kBlue);
  p.Rect(64, 352, 66, 364, kBlue);
  return p.Bmp();
}

std::string LogoBmp() {
  Picture p(200, 44, kBackground);
  // A tablet with a pen stroke, then the words.
  p.Rect(4, 6, 44, 38, kBlue);
  p.Rect(9, 11, 39, 33, kWhite);
  for (int x = 12; x < 36; ++x) {
    const int y = 28 - static_cast<int>(std::lround(8 * std::sin((x - 12) / 24.0 * 3.14159)));
    p.Rect(x, y, x + 2, y + 2, kBlue);
  }
  Text(p, 54, 8, 2, "PEN", kInk);
  Text(p, 54, 24, 2, "TABLET", kBlue);
  return p.Bmp();
}

}  // namespace pen
