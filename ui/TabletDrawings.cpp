#include "ui/TabletDrawings.h"

#include <array>

namespace pen {

namespace {

using K = TabletShapeKind;

constexpr TabletShape Key(int16_t l, int16_t t, int16_t r, int16_t b) { return {K::Rect, l, t, r, b, 0}; }
constexpr TabletShape Ellipse(int16_t l, int16_t t, int16_t r, int16_t b) { return {K::Ellipse, l, t, r, b, 0}; }
constexpr TabletShape Round(int16_t l, int16_t t, int16_t r, int16_t b, int16_t radius) {
  return {K::RoundRect, l, t, r, b, radius};
}

constexpr std::string_view kR733Codes[] = {"R733"};
constexpr std::string_view kR755Codes[] = {"R755"};
// "K24 " keeps its blank: model codes are compared as the tablet reports them.
constexpr std::string_view kK24Codes[] = {"K24 ", "R9270"};
constexpr std::string_view kR711Codes[] = {"R711", "R700"};
constexpr std::string_view kR766Codes[] = {"R766"};
constexpr std::string_view kR788Codes[] = {"R788", "R790", "K60", "K90", "R888"};

constexpr TabletShape kR733Keys[] = {Round(20, 12, 55, 30, 10), Round(155, 12, 190, 30, 10)};
constexpr TabletShape kR755Keys[] = {Key(10, 30, 35, 40), Key(10, 42, 35, 52), Key(10, 54, 35, 64),
                                     Key(10, 66, 35, 76)};
constexpr TabletShape kK24Keys[] = {Key(10, 30, 35, 40), Key(10, 42, 35, 52), Key(10, 54, 35, 64),
                                    Key(10, 66, 35, 76), Key(10, 78, 35, 88), Key(10, 90, 35, 100)};
constexpr TabletShape kR711Keys[] = {Key(10, 30, 35, 40),   Key(10, 47, 35, 57),   Key(10, 64, 35, 74),
                                     Key(10, 130, 35, 140), Key(10, 113, 35, 123), Key(10, 96, 35, 106)};
constexpr TabletShape kR766Keys[] = {Ellipse(10, 30, 35, 55), Key(10, 64, 35, 74), Key(10, 81, 35, 91)};
constexpr TabletShape kR788Ring[] = {Ellipse(6, 102, 45, 140), Ellipse(8, 104, 43, 138), Ellipse(16, 112, 35, 130)};

constexpr TabletShape kWideActive = Key(43, 20, 236, 150);

const std::array<TabletDrawing, 6> kDrawings{{
    {kR733Codes, Round(0, 0, 210, 170, 30), Round(25, 40, 185, 150, 10), kR733Keys},
    {kR755Codes, Round(0, 0, 255, 170, 20), kWideActive, kR755Keys},
    {kK24Codes, Round(0, 0, 255, 170, 20), kWideActive, kK24Keys},
    {kR711Codes, Round(0, 0, 255, 170, 20), kWideActive, kR711Keys},
    {kR766Codes, Round(0, 0, 255, 170, 20), kWideActive, kR766Keys},
    {kR788Codes, Round(0, 0, 255, 160, 20), Key(48, 20, 241, 140), kR788Ring},
}};

struct WidePreset {
  std::string_view code;
  MapRect area;
};

constexpr WidePreset kWidePresets[] = {
    {"R711", {0, 158, 4095, 3938}},  {"R733", {0, 368, 4095, 3728}},  {"R766", {0, 288, 4095, 3808}},
    {"K60", {0, 538, 4095, 3558}},   {"R755", {0, 538, 4095, 3558}},  {"K90", {0, 318, 4095, 3778}},
    {"R788", {0, 593, 4095, 3503}},  {"K24 ", {0, 148, 4095, 3948}},  {"R9270", {0, 148, 4095, 3948}},
};

}  // namespace

const TabletDrawing* DrawingFor(std::string_view modelCode) {
  for (const TabletDrawing& d : kDrawings) {
    for (std::string_view code : d.modelCodes) {
      if (code == modelCode) return &d;
    }
  }
  return nullptr;
}

std::optional<MapRect> WidePresetFor(std::string_view modelCode) {
  for (const WidePreset& p : kWidePresets) {
    if (p.code == modelCode) return p.area;
  }
  return std::nullopt;
}

}  // namespace pen
