#pragma once
#include <QApplication>
#include <QInputDevice>

namespace penmac::test {

// One QApplication for the whole test program, on the offscreen platform
// unless the environment names another (a display, to watch the windows).
inline QApplication& QtApp() {
  static int argc = 1;
  static char name[] = "mac_qt_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt keeps its input devices in a list made on first use, and the first
  // mouse event a test sends makes a device that the application owns. The
  // list is made here, before the application, so that it is still there
  // when the application's destruction at exit takes the device out of it.
  static const bool devicesFirst = !QInputDevice::devices().isEmpty();
  (void)devicesFirst;
  static QApplication app(argc, argv);
  return app;
}

// A base of fixtures whose members are widgets: the application exists
// before they are made.
struct WithQt {
  WithQt() { QtApp(); }
};

}  // namespace penmac::test
