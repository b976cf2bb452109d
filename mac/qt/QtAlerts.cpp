#include "mac/qt/QtAlerts.h"

#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "mac/qt/Tr.h"

namespace penmac::qt {

int QtAlerts::Show(const Alert& alert) {
  QMessageBox box(QMessageBox::Critical, QString(), QString::fromStdString(alert.message));
  box.setInformativeText(QString::fromStdString(alert.informative));
  box.setWindowTitle(QStringLiteral("penmac"));
  std::vector<QPushButton*> buttons;
  for (const std::string& text : alert.buttons) {
    buttons.push_back(box.addButton(QString::fromStdString(text), QMessageBox::AcceptRole));
  }
  if (buttons.empty()) buttons.push_back(box.addButton(Tr("OK"), QMessageBox::AcceptRole));
  box.setDefaultButton(buttons.front());
  box.setEscapeButton(buttons.back());
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (box.clickedButton() == buttons[i]) return static_cast<int>(i);
  }
  return static_cast<int>(buttons.size()) - 1;
}

}  // namespace penmac::qt
