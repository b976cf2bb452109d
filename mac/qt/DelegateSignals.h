#pragma once
#include <QObject>

#include "mac/USBDelegate.h"

namespace penmac::qt {

// The model's published fields (deviceName, version, buttonId) as a Qt
// signal, so that the menu and any open window can each follow them: the
// model itself has room for one observer only.
class DelegateSignals : public QObject {
  Q_OBJECT
 public:
  explicit DelegateSignals(USBDelegate& delegate, QObject* parent = nullptr);
  ~DelegateSignals() override;

 Q_SIGNALS:
  void changed();

 private:
  USBDelegate& delegate_;
};

}  // namespace penmac::qt
