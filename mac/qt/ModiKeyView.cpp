#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QWindow>

#include "mac/qt/DelegateSignals.h"
#include "mac/qt/QtKeyCodes.h"
#include "mac/qt/Tr.h"
#include "mac/qt/ViewFrame.h"
#include "mac/qt/Views.h"

namespace penmac::qt {

namespace {

enum Box { kCommand, kOption, kShift, kControl, kWheelUp, kWheelDown, kLeft, kMiddle, kRight, kBoxes };

QCheckBox* MakeBox(const QString& label, const char* name, QWidget* parent) {
  auto* box = new QCheckBox(label, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setFocusPolicy(Qt::NoFocus);
  box->setMinimumSize(80, 20);
  return box;
}

QLabel* MakeLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setMinimumWidth(70);
  return label;
}

}  // namespace

ModiKeyView::ModiKeyView(USBDelegate& usbDevice, DelegateSignals& signals, QWidget* parent)
    : QWidget(parent), model_(usbDevice) {
  setFixedSize(580, 150);
  QBoxLayout* rows = MakePanel(this);

  header_ = new QLabel(this);
  header_->setObjectName(QStringLiteral("header"));
  QFont bold = header_->font();
  bold.setBold(true);
  header_->setFont(bold);
  rows->addWidget(header_);

  boxes_[kCommand] = MakeBox(QStringLiteral("⌘"), "k0", this);
  boxes_[kOption] = MakeBox(QStringLiteral("⌥"), "k1", this);
  boxes_[kShift] = MakeBox(QStringLiteral("⇧"), "k2", this);
  boxes_[kControl] = MakeBox(QStringLiteral("⌃"), "k3", this);
  boxes_[kWheelUp] = MakeBox(Tr("     Wheel:   Up"), "mI", this);
  boxes_[kWheelDown] = MakeBox(Tr("Down"), "mD", this);
  boxes_[kLeft] = MakeBox(Tr("Button: ") + Tr("  Left"), "mL", this);
  boxes_[kMiddle] = MakeBox(Tr("Middle"), "mM", this);
  boxes_[kRight] = MakeBox(Tr("Right"), "mR", this);
  for (int i = kCommand; i <= kControl; ++i) boxes_[i]->setMinimumWidth(40);

  // Labels in a column of their own, so that the wheel's and the mouse's
  // boxes stand one under the other.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  grid->addWidget(MakeLabel(Tr("KeyBoard:"), this), 0, 0);
  auto* keyboard = new QHBoxLayout;
  keyvalue_ = new QLabel(this);
  keyvalue_->setObjectName(QStringLiteral("keyvalue"));
  keyvalue_->setMinimumWidth(150);
  keyvalue_->setStyleSheet(QStringLiteral("QLabel { border-bottom: 1px solid palette(mid); }"));
  keyboard->addWidget(keyvalue_, 1);
  for (int i = kCommand; i <= kControl; ++i) keyboard->addWidget(boxes_[i]);
  QPushButton* clear = MakeButton(Tr("Clear"), this);
  clear->setObjectName(QStringLiteral("clear"));
  keyboard->addWidget(clear);
  grid->addLayout(keyboard, 0, 1);

  auto* wheel = new QHBoxLayout;
  wheel->setSpacing(14);
  wheel->addWidget(boxes_[kWheelUp]);
  wheel->addWidget(boxes_[kWheelDown]);
  wheel->addStretch();
  grid->addLayout(wheel, 1, 1);

  grid->addWidget(MakeLabel(Tr("Mouse:"), this), 2, 0);
  auto* mouse = new QHBoxLayout;
  mouse->setSpacing(14);
  mouse->addWidget(boxes_[kLeft]);
  mouse->addWidget(boxes_[kMiddle]);
  mouse->addWidget(boxes_[kRight]);
  mouse->addStretch();
  grid->addLayout(mouse, 2, 1);
  grid->setColumnStretch(1, 1);
  rows->addLayout(grid);

  const OkCancel row = AddOkCancelRow(rows, this, CancelFirst::Yes);

  bool* fields[kBoxes] = {&model_.k0, &model_.k1, &model_.k2, &model_.k3, &model_.mI,
                          &model_.mD, &model_.mL, &model_.mM, &model_.mR};
  for (int i = 0; i < kBoxes; ++i) {
    connect(boxes_[i], &QCheckBox::toggled, this, [field = fields[i]](bool on) { *field = on; });
  }
  connect(clear, &QPushButton::clicked, this, [this] {
    model_.Clear();
    Refresh();
  });
  connect(row.ok, &QPushButton::clicked, this, &ModiKeyView::Ok);
  connect(row.cancel, &QPushButton::clicked, this, &ModiKeyView::Cancel);
  followModel_ = connect(&signals, &DelegateSignals::changed, this, &ModiKeyView::Refresh);
  Refresh();
}

ModiKeyView::~ModiKeyView() {
  disconnect(followModel_);
  if (filtering_) qApp->removeEventFilter(this);
}

void ModiKeyView::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    // Each opening starts a new definition, preset from the one in force.
    model_.keyvalue.clear();
    model_.k0 = model_.k1 = model_.k2 = model_.k3 = false;
    model_.mL = model_.mM = model_.mR = model_.mI = model_.mD = false;
    model_.OnAppear();
    SyncBoxes();
    Refresh();
  }
  if (!filtering_) {
    qApp->installEventFilter(this);
    filtering_ = true;
  }
  QWidget::showEvent(event);
}

void ModiKeyView::hideEvent(QHideEvent* event) {
  if (filtering_) {
    qApp->removeEventFilter(this);
    filtering_ = false;
  }
  lastPress_ = nullptr;
  lastReceiver_ = nullptr;
  QWidget::hideEvent(event);
}

bool ModiKeyView::IsNewKeyPress(QObject* watched, const QKeyEvent& key) {
  // A press from the window system reaches the window first, then the same
  // event object the focused widget, then copies of it each parent that
  // leaves it unaccepted. Presses sent straight to a widget skip the window.
  const bool same = &key == lastPress_ && key.key() == lastKey_;
  const auto* widget = qobject_cast<const QWidget*>(watched);
  const auto* previous = qobject_cast<const QWidget*>(lastReceiver_.data());
  const bool upward = widget && previous && key.key() == lastKey_ && widget->isAncestorOf(previous);
  lastPress_ = &key;
  lastReceiver_ = watched;
  lastKey_ = key.key();
  if (watched->isWindowType()) return true;
  if (!widget) return false;
  return !same && !upward;
}

bool ModiKeyView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (IsNewKeyPress(watched, key)) {
      const KeyPress press = ToKeyPress(key);
      model_.KeyDown(press.keyCode, press.characters);
      Refresh();
    }
  } else if (event->type() == QEvent::KeyRelease) {
    // Whatever follows is a new press, even at the same address.
    lastPress_ = nullptr;
    lastReceiver_ = nullptr;
  }
  return false;
}

void ModiKeyView::Refresh() {
  const uint16_t id = model_.usbDevice.buttonId;
  header_->setText(id == 0 ? Tr("Press the tablet button to be customized")
                           : Tr("Key: ") + QString::asprintf("%03X", static_cast<unsigned>(id)) +
                                 QStringLiteral("   ☞"));
  keyvalue_->setText(QString::fromStdString(model_.keyvalue));
}

void ModiKeyView::SyncBoxes() {
  const bool fields[kBoxes] = {model_.k0, model_.k1, model_.k2, model_.k3, model_.mI,
                               model_.mD, model_.mL, model_.mM, model_.mR};
  for (int i = 0; i < kBoxes; ++i) {
    const QSignalBlocker quiet(boxes_[i]);
    boxes_[i]->setChecked(fields[i]);
  }
}

void ModiKeyView::Ok() {
  model_.Ok();
  window()->close();
}

void ModiKeyView::Cancel() {
  model_.Cancel();
  window()->close();
}

}  // namespace penmac::qt
