#pragma once
#include "mac/Alerts.h"

namespace penmac::qt {

// Alerts of the desktop application: a modal message box of critical style
// with the message, the informative text and the buttons in the given
// order. Closing it without a button (Esc, the window's close button, the
// program being told to end meanwhile) counts as the last button, the one
// that cancels.
class QtAlerts : public IAlerts {
 public:
  int Show(const Alert& alert) override;
};

}  // namespace penmac::qt
