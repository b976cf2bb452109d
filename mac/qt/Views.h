#pragma once
// The windows the status menu opens. Each is a top-level widget of the
// content size its window has; "Ok" and "Cancel" close it (close()), and the
// menu that opens it decides whether it is deleted on close and where it
// stands. The key-setup window expects keySetup to be on already.
#include <QWidget>

#include "mac/Screens.h"
#include "mac/USBDelegate.h"

namespace penmac::qt {

class DelegateSignals;

// The target screen: the whole desktop or one screen (300 x 80).
class SetupScreensView : public QWidget {
  Q_OBJECT
 public:
  SetupScreensView(USBDelegate& usbDelegate, IScreens& screens, QWidget* parent = nullptr);
  ~SetupScreensView() override;
};

// The tablet's working angle (300 x 80).
class SetupRotateView : public QWidget {
  Q_OBJECT
 public:
  explicit SetupRotateView(USBDelegate& usbDelegate, QWidget* parent = nullptr);
  ~SetupRotateView() override;
};

// Key setup: the tablet button to define, then its keys, mouse buttons and
// wheel steps (580 x 150). Follows buttonId through `signals`.
class ModiKeyView : public QWidget {
  Q_OBJECT
 public:
  ModiKeyView(USBDelegate& usbDevice, DelegateSignals& signals, QWidget* parent = nullptr);
  ~ModiKeyView() override;
};

// The test canvas: the pen draws strokes whose width follows its pressure; a
// tap clears it (1100 x 700).
class DrawView : public QWidget {
  Q_OBJECT
 public:
  explicit DrawView(QWidget* parent = nullptr);
  ~DrawView() override;
};

}  // namespace penmac::qt
