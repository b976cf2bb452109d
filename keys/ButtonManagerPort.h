#pragma once
#include <cstdint>
#include <string>

#include "keys/ButtonDefinitionsPort.h"

namespace pen {

// The tablet button functions, as the service host drives them.
class IButtonManager {
 public:
  virtual ~IButtonManager() = default;
  virtual void SetButtonState(uint32_t mask) = 0;  // read threads
  virtual void ReleaseHeldKey() = 0;
  virtual void SetModelCode(const std::string& code) = 0;
  virtual void LoadDefinitions() = 0;
  virtual void SaveDefinitions() = 0;
  virtual void ResetAllDefinitions() = 0;
  virtual void SetSelfDefinedKey(uint8_t usage, uint8_t modifiers) = 0;
  virtual bool Modified() const = 0;
  // What the key-setup windows edit; null when there is none.
  virtual IButtonDefinitions* DefinitionsStore() = 0;
};

}  // namespace pen
