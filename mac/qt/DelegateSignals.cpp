#include "mac/qt/DelegateSignals.h"

namespace penmac::qt {

DelegateSignals::DelegateSignals(USBDelegate& delegate, QObject* parent) : QObject(parent), delegate_(delegate) {
  delegate_.onChange = [this] { Q_EMIT changed(); };
}

DelegateSignals::~DelegateSignals() { delegate_.onChange = nullptr; }

}  // namespace penmac::qt
