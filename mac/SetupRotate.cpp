#include "mac/SetupRotate.h"

namespace penmac {

std::string SetupRotate::MenuLabel() const { return std::string("Tablet Working Angle:") + " " + rotate; }

std::string SetupRotate::ItemLabel(size_t index) const {
  if (index >= angle.size()) return {};
  return std::string("Tablet Rotate to:") + " " + std::string(angle[index]);
}

void SetupRotate::Choose(size_t index) {
  if (index < angle.size()) rotate = angle[index];
}

}  // namespace penmac
