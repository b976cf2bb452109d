#pragma once
// Answers a modal alert from inside its own loop, as a user would: waits for
// the message box to be the active modal widget, runs `whileOpen` there (a
// notification arriving meanwhile), then clicks the button of that text.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <memory>

namespace penmac::test {

struct AlertSeen {
  QString text;
  QString informative;
  QStringList buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool answered = false;
};

inline void AnswerAlertWhenOpen(const std::shared_ptr<AlertSeen>& seen, const QString& button,
                                const std::function<void()>& whileOpen, int tries) {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr) {
    if (tries < 500) {
      QTimer::singleShot(10, [=] { AnswerAlertWhenOpen(seen, button, whileOpen, tries + 1); });
    }
    return;
  }
  seen->text = box->text();
  seen->informative = box->informativeText();
  seen->icon = box->icon();
  for (QAbstractButton* b : box->buttons()) seen->buttons << b->text();
  if (whileOpen) whileOpen();
  for (QAbstractButton* b : box->buttons()) {
    if (b->text() == button) {
      seen->answered = true;
      b->click();  // (QTest's mouse leaves a device behind that the static application trips over at exit)
      return;
    }
  }
  box->reject();  // no such button: the test fails on `answered`
}

inline std::shared_ptr<AlertSeen> AnswerNextAlert(const QString& button, std::function<void()> whileOpen = {}) {
  auto seen = std::make_shared<AlertSeen>();
  QTimer::singleShot(0, [=] { AnswerAlertWhenOpen(seen, button, whileOpen, 0); });
  return seen;
}

}  // namespace penmac::test
