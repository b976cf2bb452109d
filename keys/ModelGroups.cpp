#include "keys/ModelGroups.h"

namespace pen {

const ModelGroup* FindModelGroup(std::string_view modelCode) {
  const ModelRow* model = FindModel(modelCode);
  return model ? FamilyOf(*model) : nullptr;
}

std::string_view DefinitionsStem(std::string_view modelCode) {
  const ModelRow* model = FindModel(modelCode);
  return model ? DefinitionsStemOf(*model) : modelCode;
}

int SlotForDeviceButton(const ModelGroup& group, int deviceButton) {
  for (size_t slot = 0; slot < group.buttonForSlot.size(); ++slot) {
    if (group.buttonForSlot[slot] == deviceButton) return static_cast<int>(slot);
  }
  return -1;
}

int WheelCentreButton(std::string_view modelCode) {
  const ModelGroup* group = FindModelGroup(modelCode);
  return group ? group->wheelCentreButton : -1;
}

}  // namespace pen
