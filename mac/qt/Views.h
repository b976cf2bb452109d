#pragma once
// The windows the status menu opens. Each is a top-level widget of the
// content size its window has; "Ok" and "Cancel" close it (close()), and the
// menu that opens it decides whether it is deleted on close and where it
// stands. The key-setup window expects keySetup to be on already.
//
// Each showing starts over from the configuration in force, so a window the
// menu keeps and shows again behaves like a new one.
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <optional>

#include "mac/MYPath.h"
#include "mac/ModiKey.h"
#include "mac/Screens.h"
#include "mac/SetupRotate.h"
#include "mac/SetupScreens.h"
#include "mac/USBDelegate.h"

class QCheckBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QToolButton;

namespace penmac::qt {

class DelegateSignals;

// The target screen: the whole desktop or one screen (300 x 80).
class SetupScreensView : public QWidget {
  Q_OBJECT
 public:
  SetupScreensView(USBDelegate& usbDelegate, IScreens& screens, QWidget* parent = nullptr);
  ~SetupScreensView() override;

 public Q_SLOTS:
  // The desktop's screens changed while the window is open: the items list
  // the screens as they are now.
  void ScreensChanged();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The items, one per screen as the screens are now.
  void Rebuild();
  // The label and the mark: the choice being edited.
  void Relabel();
  void Ok();
  void Cancel();

  USBDelegate& usbDelegate_;
  IScreens& screens_;
  std::optional<SetupScreens> model_;
  QToolButton* menuButton_ = nullptr;
  QMenu* menu_ = nullptr;
};

// The tablet's working angle (300 x 80).
class SetupRotateView : public QWidget {
  Q_OBJECT
 public:
  explicit SetupRotateView(USBDelegate& usbDelegate, QWidget* parent = nullptr);
  ~SetupRotateView() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Relabel();
  void Ok();
  void Cancel();

  SetupRotate model_;
  QToolButton* menuButton_ = nullptr;
};

// Key setup: the tablet button to define, then its keys, mouse buttons and
// wheel steps (580 x 150). Follows buttonId through `signals`. While it is
// shown it sees every key press the application receives, and passes each
// on unchanged.
class ModiKeyView : public QWidget {
  Q_OBJECT
 public:
  ModiKeyView(USBDelegate& usbDevice, DelegateSignals& signals, QWidget* parent = nullptr);
  ~ModiKeyView() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // True when a key press reaching `watched` is a press not seen before,
  // rather than the same press on its way from the window to the focused
  // widget and up through its parents.
  bool IsNewKeyPress(QObject* watched, const QKeyEvent& key);
  void Refresh();
  void SyncBoxes();
  void Ok();
  void Cancel();

  ModiKey model_;
  QLabel* header_ = nullptr;
  QLabel* keyvalue_ = nullptr;
  QCheckBox* boxes_[9] = {};  // ⌘ ⌥ ⇧ ⌃, Up, Down, Left, Middle, Right
  bool filtering_ = false;
  // The press last taken, while it may still be on its way.
  const QEvent* lastPress_ = nullptr;
  QPointer<QObject> lastReceiver_;
  int lastKey_ = 0;
  // Cut when the window goes: whoever reacts to its going may change the
  // model, and the signal must not reach a window half torn down.
  QMetaObject::Connection followModel_;
};

// The test canvas: the pen draws strokes whose width follows its pressure; a
// tap clears it (1100 x 700). The mouse draws too, at a fixed pressure.
class DrawView : public QWidget {
  Q_OBJECT
 public:
  // The pressure the mouse draws with.
  static constexpr double kMousePressure = 0.35;
  // A press and release closer together than this (in pixels) is a tap.
  static constexpr double kTapDistance = 4.0;

  explicit DrawView(QWidget* parent = nullptr);
  ~DrawView() override;

  const MYPath& Path() const { return myPath_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void tabletEvent(QTabletEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Press(QPointF at, double pressure);
  void Drag(QPointF at, double pressure, QPointF tilt);
  void Release(QPointF at);

  MYPath myPath_;
  bool drawing_ = false;
  bool moved_ = false;
  QPointF pressedAt_;
};

}  // namespace penmac::qt
