#pragma once
#include <cstdint>

namespace pen {

// The on-screen wheel overlay; reached only from the main thread.
class IWheelOverlay {
 public:
  virtual ~IWheelOverlay() = default;
  virtual void HandleWheelMessage(uint64_t wparam, int64_t lparam) = 0;
  virtual void ReloadLanguage() = 0;
};

class TNullWheelOverlay final : public IWheelOverlay {
 public:
  void HandleWheelMessage(uint64_t, int64_t) override {}
  void ReloadLanguage() override {}
};

}  // namespace pen
