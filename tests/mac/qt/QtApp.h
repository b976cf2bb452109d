#pragma once
#include <QApplication>

namespace penmac::test {

// One QApplication for the whole test program, on the offscreen platform
// unless the environment names another (a display, to watch the windows).
inline QApplication& QtApp() {
  static int argc = 1;
  static char name[] = "mac_qt_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

}  // namespace penmac::test
