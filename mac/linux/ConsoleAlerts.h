#pragma once
#include <cstdio>

#include "mac/Alerts.h"

namespace penmac::linux_layer {

// Alerts of the headless program: one line on standard error, answered with
// the first button.
class ConsoleAlerts : public IAlerts {
 public:
  explicit ConsoleAlerts(std::FILE* out = stderr) : out_(out) {}
  int Show(const Alert& alert) override;

 private:
  std::FILE* out_;
};

}  // namespace penmac::linux_layer
