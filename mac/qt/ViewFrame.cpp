#include "mac/qt/ViewFrame.h"

#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "mac/qt/Tr.h"

namespace penmac::qt {

QBoxLayout* MakePanel(QWidget* view) {
  auto* outer = new QVBoxLayout(view);
  outer->setContentsMargins(4, 4, 4, 4);
  auto* panel = new QFrame(view);
  panel->setObjectName(QStringLiteral("panel"));
  panel->setStyleSheet(QStringLiteral(
      "QFrame#panel { background: palette(window); border: 1px solid palette(mid); border-radius: 8px; }"));
  auto* shadow = new QGraphicsDropShadowEffect(panel);
  shadow->setBlurRadius(6);
  shadow->setOffset(0, 1);
  shadow->setColor(QColor(0, 0, 0, 60));
  panel->setGraphicsEffect(shadow);
  outer->addWidget(panel);
  auto* rows = new QVBoxLayout(panel);
  rows->setContentsMargins(10, 6, 10, 6);
  rows->setSpacing(2);
  return rows;
}

QPushButton* MakeButton(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setFocusPolicy(Qt::NoFocus);
  button->setAutoDefault(false);
  return button;
}

OkCancel AddOkCancelRow(QBoxLayout* rows, QWidget* view, CancelFirst order) {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  OkCancel row{MakeButton(Tr("Ok"), view), MakeButton(Tr("Cancel"), view)};
  row.ok->setObjectName(QStringLiteral("ok"));
  row.cancel->setObjectName(QStringLiteral("cancel"));
  if (order == CancelFirst::Yes) {
    buttons->addWidget(row.cancel);
    buttons->addWidget(row.ok);
  } else {
    buttons->addWidget(row.ok);
    buttons->addWidget(row.cancel);
  }
  rows->addLayout(buttons);
  return row;
}

QToolButton* MakePopUp(const QString& name, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setPopupMode(QToolButton::InstantPopup);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace penmac::qt
