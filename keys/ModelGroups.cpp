#include "keys/ModelGroups.h"

namespace pen {

namespace {

// Factory definitions: modifier byte, key code. Key code 29 in the tables is
// sent as virtual key 29 as it always was, not as a letter.
constexpr KeyDefinition kR711Table[] = {
    {0, 69},  {0, 66},  {1, 189}, {1, 187}, {0, 219}, {0, 221}, {0, 5},
    {0, 9},   {0, 6},   {0, 32},  {1, 0},   {2, 0},   {1, 29},  {0, 2},
};
constexpr KeyDefinition kR733Table[] = {{4, 0}, {2, 0}, {0, 32}, {0, 9}, {1, 29}, {0, 2}};
constexpr KeyDefinition kR755Table[] = {
    {1, 189}, {1, 187}, {0, 219}, {0, 221}, {0, 9}, {0, 32}, {1, 0}, {2, 0}, {1, 29}, {0, 2},
};
constexpr KeyDefinition kR766Table[] = {
    {1, 187}, {1, 189}, {0, 219}, {0, 221}, {0, 9}, {0, 32}, {4, 0}, {2, 0}, {1, 29}, {0, 2},
};

// Device button number per slot. Only buttons 0..11 are ever looked up, so
// entries 12 and 13 fire nothing; the R755's second 11 is never reached.
constexpr uint8_t kR711Map[] = {9, 10, 7, 8, 6, 11, 5, 0, 4, 1, 3, 2, 12, 13};
constexpr uint8_t kR733Map[] = {1, 0, 3, 2, 4, 13};
constexpr uint8_t kR755Map[] = {8, 11, 9, 10, 6, 7, 5, 4, 12, 11};
constexpr uint8_t kR766Map[] = {9, 4, 8, 5, 2, 3, 0, 1, 12, 11};
constexpr uint8_t kR788Map[] = {9, 4, 8, 5, 2, 3, 0, 1, 12, 11};

constexpr ModelGroup kGroups[] = {
    {"R700", kR711Table, kR711Map},
    {"R711", kR711Table, kR711Map},
    {"R733", kR733Table, kR733Map},
    {"R755", kR755Table, kR755Map},
    {"R766", kR766Table, kR766Map},
    {"R788", kR766Table, kR788Map},  // the R766 values
};

struct ModelRow {
  std::string_view modelCode;
  size_t group;  // index into kGroups
};

constexpr ModelRow kModels[] = {
    {"R700", 0}, {"R711", 1}, {"K24 ", 1}, {"R9270", 1}, {"R733", 2}, {"R755", 3},
    {"R766", 4}, {"R788", 5}, {"R790", 5}, {"K60", 5},   {"K90", 5},  {"R888", 5},
};

constexpr std::string_view kWheelCentreModels[] = {"R766", "R788", "R790", "K60", "K90", "R888"};

}  // namespace

const std::array<std::string_view, 6> kResetModelCodes = {"R700", "R711", "R733", "R755", "R766", "R788"};

const ModelGroup* FindModelGroup(std::string_view modelCode) {
  for (const ModelRow& row : kModels) {
    if (row.modelCode == modelCode) return &kGroups[row.group];
  }
  return nullptr;
}

std::string_view DefinitionsStem(std::string_view modelCode) {
  const ModelGroup* group = FindModelGroup(modelCode);
  return group ? group->groupCode : modelCode;
}

int SlotForDeviceButton(const ModelGroup& group, int deviceButton) {
  for (size_t slot = 0; slot < group.buttonForSlot.size(); ++slot) {
    if (group.buttonForSlot[slot] == deviceButton) return static_cast<int>(slot);
  }
  return -1;
}

bool HasWheelCentreButton(std::string_view modelCode) {
  for (std::string_view code : kWheelCentreModels) {
    if (code == modelCode) return true;
  }
  return false;
}

}  // namespace pen
