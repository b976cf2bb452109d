#include <QActionGroup>
#include <QBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

#include "mac/qt/Tr.h"
#include "mac/qt/ViewFrame.h"
#include "mac/qt/Views.h"

namespace penmac::qt {

SetupRotateView::SetupRotateView(USBDelegate& usbDelegate, QWidget* parent) : QWidget(parent), model_(usbDelegate) {
  setFixedSize(300, 80);
  QBoxLayout* rows = MakePanel(this);
  menuButton_ = MakePopUp(QStringLiteral("rotateMenu"), this);
  auto* menu = new QMenu(menuButton_);
  auto* group = new QActionGroup(menu);
  for (size_t i = 0; i < SetupRotate::angle.size(); ++i) {
    QAction* action = menu->addAction(Tr("Tablet Rotate to:") + QLatin1Char(' ') +
                                          QString::fromUtf8(SetupRotate::angle[i].data(),
                                                            static_cast<qsizetype>(SetupRotate::angle[i].size())),
                                      this, [this, i] {
                                        model_.Choose(i);
                                        Relabel();
                                      });
    action->setCheckable(true);
    group->addAction(action);
  }
  menuButton_->setMenu(menu);
  rows->addWidget(menuButton_);
  const OkCancel row = AddOkCancelRow(rows, this);
  connect(row.ok, &QPushButton::clicked, this, &SetupRotateView::Ok);
  connect(row.cancel, &QPushButton::clicked, this, &SetupRotateView::Cancel);
  model_.OnAppear();
  Relabel();
}

SetupRotateView::~SetupRotateView() = default;

void SetupRotateView::showEvent(QShowEvent* event) {
  // The menu shows the rotation in force each time the window opens.
  if (!event->spontaneous()) {
    model_.OnAppear();
    Relabel();
  }
  QWidget::showEvent(event);
}

void SetupRotateView::Relabel() {
  menuButton_->setText(Tr("Tablet Working Angle:") + QLatin1Char(' ') + QString::fromStdString(model_.rotate));
  // The angle being edited carries a mark.
  const QList<QAction*> items = menuButton_->menu()->actions();
  for (qsizetype i = 0; i < items.size(); ++i) {
    items[i]->setChecked(SetupRotate::angle[static_cast<size_t>(i)] == model_.rotate);
  }
}

void SetupRotateView::Ok() {
  model_.Ok();
  window()->close();
}

void SetupRotateView::Cancel() {
  model_.Cancel();
  window()->close();
}

}  // namespace penmac::qt
