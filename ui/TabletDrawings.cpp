#include "ui/TabletDrawings.h"

namespace pen {

const TabletDrawing* DrawingFor(std::string_view modelCode) {
  const ModelRow* model = FindModel(modelCode);
  return model ? DrawingOf(*model) : nullptr;
}

std::optional<MapRect> WidePresetFor(std::string_view modelCode) {
  const ModelRow* model = FindModel(modelCode);
  if (!model || !model->wide) return std::nullopt;
  const TabletRect& r = *model->wide;
  return MapRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace pen
