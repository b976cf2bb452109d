#include "mac/linux/ConsoleAlerts.h"

namespace penmac::linux_layer {

int ConsoleAlerts::Show(const Alert& alert) {
  std::fprintf(out_, "penmac: %s (%s)\n", alert.message.c_str(), alert.informative.c_str());
  std::fflush(out_);
  return 0;
}

}  // namespace penmac::linux_layer
