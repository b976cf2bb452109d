#pragma once
#include <cstddef>
#include <cstdint>

#include "keys/KeyList.h"

namespace pen {

// The button manager's 32 key definitions as the key-setup windows reach
// them: whole slots, so that a report never sees half an edit.
class IButtonDefinitions {
 public:
  virtual ~IButtonDefinitions() = default;
  virtual KeyDefinition Definition(size_t slot) const = 0;
  // Slots 32 and up are ignored.
  virtual void SetDefinition(size_t slot, uint8_t modifiers, uint8_t key) = 0;
};

}  // namespace pen
