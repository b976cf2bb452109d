#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "service/SettingsStore.h"

namespace pen {

enum class TabletShapeKind : uint8_t { RoundRect, Rect, Ellipse };

// One shape of a tablet drawing, in half pixels (the picture doubles every
// value).
struct TabletShape {
  TabletShapeKind kind = TabletShapeKind::Rect;
  int16_t left = 0, top = 0, right = 0, bottom = 0;
  int16_t radius = 0;  // corners of a round rectangle
};

// The picture of one model group: its outline, the active area the tablet
// frame covers, and the keys, wheel and ring drawn beside it.
struct TabletDrawing {
  std::span<const std::string_view> modelCodes;
  TabletShape outline;
  TabletShape activeArea;
  std::span<const TabletShape> others;
};

// The drawing of that model, or none for a model not in the table.
const TabletDrawing* DrawingFor(std::string_view modelCode);

// The model's tablet area of the 16:9 shape (the full width, a band of the
// height), or none.
std::optional<MapRect> WidePresetFor(std::string_view modelCode);

}  // namespace pen
