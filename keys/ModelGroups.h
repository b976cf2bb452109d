#pragma once
#include <string_view>

#include "common/ModelCatalogue.h"

namespace pen {

// What the button manager needs of a model, looked up in the model
// catalogue: its family's factory definitions and button-to-slot map, the
// name of its definitions file and its wheel's centre button.
using ModelGroup = FamilyRow;

// The family a model code belongs to (compared exactly, blanks included);
// null for a code outside the catalogue.
const ModelGroup* FindModelGroup(std::string_view modelCode);

// The definitions file's name stem: the model's group code, or the model
// code itself for a model outside the catalogue.
std::string_view DefinitionsStem(std::string_view modelCode);

// The lowest slot that `deviceButton` fires; -1 for none.
int SlotForDeviceButton(const ModelGroup& group, int deviceButton);

// The device button that is the model's wheel centre; -1 for none.
int WheelCentreButton(std::string_view modelCode);

// Calls `remove` with the stem of every definitions file a reset deletes,
// each once, in the catalogue's order.
template <typename Remove>
void ForEachDefinitionsStem(Remove&& remove) {
  const auto rows = ModelRows();
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string_view stem = DefinitionsStemOf(rows[i]);
    bool seen = false;
    for (size_t j = 0; j < i && !seen; ++j) seen = DefinitionsStemOf(rows[j]) == stem;
    if (!seen) remove(stem);
  }
}

}  // namespace pen
