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

SetupScreensView::SetupScreensView(USBDelegate& usbDelegate, IScreens& screens, QWidget* parent)
    : QWidget(parent), usbDelegate_(usbDelegate), screens_(screens) {
  setFixedSize(300, 80);
  QBoxLayout* rows = MakePanel(this);
  menuButton_ = MakePopUp(QStringLiteral("screenMenu"), this);
  menu_ = new QMenu(menuButton_);
  menuButton_->setMenu(menu_);
  rows->addWidget(menuButton_);
  const OkCancel row = AddOkCancelRow(rows, this);
  connect(row.ok, &QPushButton::clicked, this, &SetupScreensView::Ok);
  connect(row.cancel, &QPushButton::clicked, this, &SetupScreensView::Cancel);
  model_.emplace(usbDelegate_, screens_);
  model_->OnAppear();
  Rebuild();
}

SetupScreensView::~SetupScreensView() = default;

void SetupScreensView::showEvent(QShowEvent* event) {
  // A fresh edit each time: the whole desktop, whatever was chosen last.
  if (!event->spontaneous()) {
    model_.emplace(usbDelegate_, screens_);
    model_->OnAppear();
    Rebuild();
  }
  QWidget::showEvent(event);
}

void SetupScreensView::ScreensChanged() {
  model_->ScreensChanged();
  Rebuild();
}

void SetupScreensView::Rebuild() {
  menu_->clear();
  qDeleteAll(menu_->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly));
  const std::vector<ScreenInfo> all = screens_.Screens();
  auto* group = new QActionGroup(menu_);
  auto add = [this, group](const QString& text, size_t item) {
    QAction* action = menu_->addAction(text, this, [this, item] {
      model_->Choose(item);
      Relabel();
    });
    action->setCheckable(true);
    group->addAction(action);
  };
  add(Tr("Map Tablet to Multi-Screen"), 0);
  for (size_t i = 0; i < all.size(); ++i) {
    add(Tr("Map Tablet to") + QLatin1Char(' ') + QString::fromStdString(all[i].name), i + 1);
  }
  Relabel();
}

void SetupScreensView::Relabel() {
  menuButton_->setText(Tr("Map Tablet to") + QLatin1Char(' ') + QString::fromStdString(model_->curScreen));
  // The item of the choice being edited carries a mark.
  const std::vector<ScreenInfo> all = screens_.Screens();
  qsizetype chosen = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i].name == model_->curScreen) chosen = static_cast<qsizetype>(i) + 1;
  }
  const QList<QAction*> items = menu_->actions();
  for (qsizetype i = 0; i < items.size(); ++i) items[i]->setChecked(i == chosen);
}

void SetupScreensView::Ok() {
  model_->Ok();
  window()->close();
}

void SetupScreensView::Cancel() {
  model_->Cancel();
  window()->close();
}

}  // namespace penmac::qt
