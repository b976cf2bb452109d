#pragma once
#include <string>
#include <vector>

namespace penmac {

// A modal message to the user. The status-menu application shows it as an
// alert of critical style; the headless program prints it.
struct Alert {
  std::string message;
  std::string informative;
  std::vector<std::string> buttons;
};

class IAlerts {
 public:
  virtual ~IAlerts() = default;
  // Index of the button chosen (0 = the first).
  virtual int Show(const Alert& alert) = 0;
};

}  // namespace penmac
