#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "keys/KeyList.h"

namespace pen {

// Everything that differs between tablet models for their buttons: the
// definitions file's name, the factory definitions and which device button
// fires which slot. Adding a model is adding rows to the tables in
// ModelGroups.cpp.
struct ModelGroup {
  std::string_view groupCode;               // file name stem
  std::span<const KeyDefinition> factory;   // slots 0.. in order
  std::span<const uint8_t> buttonForSlot;   // device button number per slot
};

// The group a model code belongs to (compared exactly, blanks included);
// null for a code outside every group.
const ModelGroup* FindModelGroup(std::string_view modelCode);

// The definitions file's name stem: the group code, or the model code
// itself for a model outside every group.
std::string_view DefinitionsStem(std::string_view modelCode);

// The lowest slot that `deviceButton` fires; -1 for none.
int SlotForDeviceButton(const ModelGroup& group, int deviceButton);

// Models whose device button 10 is the wheel's centre button.
bool HasWheelCentreButton(std::string_view modelCode);
constexpr int kWheelCentreDeviceButton = 10;

// The codes whose definitions files a reset deletes, in this order.
extern const std::array<std::string_view, 6> kResetModelCodes;

}  // namespace pen
