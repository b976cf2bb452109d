#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "common/ModelCatalogue.h"
#include "service/SettingsStore.h"

namespace pen {

// `TabletDrawing` and its shapes come from the model catalogue
// (common/ModelCatalogue.h).

// The drawing of that model, or none for a model not in the table.
const TabletDrawing* DrawingFor(std::string_view modelCode);

// The model's tablet area of the 16:9 shape (the full width, a band of the
// height), or none.
std::optional<MapRect> WidePresetFor(std::string_view modelCode);

}  // namespace pen
