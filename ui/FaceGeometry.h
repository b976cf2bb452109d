#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <span>

namespace pen::face {

// The dial on which a wheel function's face is drawn, three times the size
// of the face, so that averaging each 3 x 3 block smooths its edges.
constexpr int kDial = 720;
constexpr int kCentre = 360;
constexpr int kFace = 240;
constexpr int kScale = kDial / kFace;

constexpr uint32_t kOutlineColour = 2105376;  // 0x202020, where the sector fill stops
constexpr uint32_t kInnerDiscColour = 3158064;
constexpr uint32_t kSectorColour = 6316128;
constexpr uint32_t kArcColour = 0xCC8F29;  // RGB (41,143,204) as a COLORREF
constexpr uint32_t kNameColour = 16776960;
constexpr int kOutlinePen = 2;
constexpr int kArcPen = 24;
constexpr int kInnerDiscFrom = 180;
constexpr int kInnerDiscTo = 540;
constexpr int kArcBoxFrom = 11;
constexpr int kArcBoxTo = 709;

// The ends of the eight sector boundaries, from the centre: boundary k lies
// at -67.5 + 45 k degrees (y pointing down), radius 360.
constexpr std::array<std::array<int, 2>, 8> kBoundary = {
    {{138, -333}, {333, -138}, {333, 138}, {138, 333}, {-138, 333}, {-333, 138}, {-333, -138}, {-138, -333}}};
// The centre of each function's icon, from the dial's centre: function 0
// at the top, then clockwise.
constexpr std::array<std::array<int, 2>, 8> kIconCentre = {
    {{0, -270}, {191, -191}, {270, 0}, {191, 191}, {0, 270}, {-191, 191}, {-270, 0}, {-191, -191}}};

// Function i's sector lies between boundary i - 1 (7 for function 0) and i.
constexpr int BoundaryBefore(int function) { return (function + 7) % 8; }
constexpr int BoundaryAfter(int function) { return function % 8; }

// The arc along the outer edge of function i's sector, in degrees
// counter-clockwise from the x-axis (y up), as GDI's AngleArc takes them.
struct Arc {
  double start;
  double sweep;
};
Arc ArcOf(int function);

// The name font: starting from `points`, one point larger while the widest
// name is narrower than 315 pixels, then one smaller while it is wider than
// 345. `widest(points)` measures the widest name at a size. Bounded: names
// that measure nothing (all empty) or never fit stop at the limits.
constexpr int kNameMinWidth = 315;
constexpr int kNameMaxWidth = 345;
constexpr int kStartPoints = 36;
constexpr int kMinPoints = 1;
constexpr int kMaxPoints = 200;
int FitNameFont(int points, const std::function<int(int points)>& widest);

// `dial` (kDial x kDial words, rows from the top) down to `face` (kFace x
// kFace): each face pixel the mean of its 3 x 3 block, per byte.
void Average3x3(std::span<const uint32_t> dial, std::span<uint32_t> face);

}  // namespace pen::face
