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
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* ok = MakeButton(Tr("Ok"), this);
  ok->setObjectName(QStringLiteral("ok"));
  QPushButton* cancel = MakeButton(Tr("Cancel"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  rows->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &SetupScreensView::Ok);
  connect(cancel, &QPushButton::clicked, this, &SetupScreensView::Cancel);
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
  menuButton_->setText(Tr("Map Tablet to") + QLatin1Char(' ') + QString::fromStdString(model_->curScreen));
  menu_->clear();
  const std::vector<ScreenInfo> all = screens_.Screens();
  menu_->addAction(Tr("Map Tablet to Multi-Screen"), this, [this] {
    model_->Choose(0);
    Rebuild();
  });
  for (size_t i = 0; i < all.size(); ++i) {
    menu_->addAction(Tr("Map Tablet to") + QLatin1Char(' ') + QString::fromStdString(all[i].name), this, [this, i] {
      model_->Choose(i + 1);
      Rebuild();
    });
  }
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
