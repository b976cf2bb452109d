#pragma once
#include "keys/ButtonManager.h"
#include "service/ButtonManagerPort.h"

namespace pen {

// The button manager as the host drives it.
class TButtonManagerLink final : public IButtonManager {
 public:
  explicit TButtonManagerLink(TButtonManager& manager) : m_(manager) {}
  void SetButtonState(uint32_t mask) override { m_.SetButtonState(mask); }
  void ReleaseHeldKey() override { m_.ReleaseHeldKey(); }
  void SetModelCode(const std::string& code) override { m_.SetModelCode(code); }
  void LoadDefinitions() override { m_.LoadDefinitions(); }
  void SaveDefinitions() override { m_.SaveDefinitions(); }
  void ResetAllDefinitions() override { m_.ResetAllDefinitions(); }
  void SetSelfDefinedKey(uint8_t usage, uint8_t modifiers) override { m_.SetSelfDefinedKey(usage, modifiers); }
  bool Modified() const override { return m_.Modified(); }
  IButtonDefinitions* DefinitionsStore() override { return &m_; }

 private:
  TButtonManager& m_;
};

}  // namespace pen
