// Alerts as message boxes: the index of the button chosen.
#include "mac/qt/QtAlerts.h"

#include <gtest/gtest.h>

#include "mac/qt/AlertDriver.h"
#include "mac/qt/QtApp.h"

namespace penmac::qt {
namespace {

TEST(QtAlerts, AnswersWithTheIndexOfTheButtonChosenAndCancelsWhenClosedWithout) {
  test::QtApp();
  QtAlerts alerts;
  const Alert alert{"Cannot write x.scrn", "penmac/USBDelegate", {"Ok", "Cancel"}};
  auto seen = test::AnswerNextAlert("Ok");
  EXPECT_EQ(alerts.Show(alert), 0);
  EXPECT_EQ(seen->text, "Cannot write x.scrn");
  EXPECT_EQ(seen->informative, "penmac/USBDelegate");
  seen = test::AnswerNextAlert("Cancel");
  EXPECT_EQ(alerts.Show(alert), 1);
  // Closed without a button (Esc, the program ending meanwhile).
  seen = test::AnswerNextAlert("no such button");
  EXPECT_EQ(alerts.Show(alert), 1);
  EXPECT_FALSE(seen->answered);
}

TEST(QtAlerts, AnAlertIsOfCriticalStyle) {
  test::QtApp();
  QtAlerts alerts;
  auto seen = test::AnswerNextAlert("OK");
  alerts.Show(Alert{"m", "i", {"OK"}});
  EXPECT_EQ(seen->icon, QMessageBox::Critical);
}

}  // namespace
}  // namespace penmac::qt
