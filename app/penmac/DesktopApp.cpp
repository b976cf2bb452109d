#include "app/penmac/DesktopApp.h"

#include <QApplication>
#include <QMenu>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <cstdio>
#include <cstdlib>

#include "mac/qt/DelegateSignals.h"
#include "mac/qt/QtScreens.h"
#include "mac/qt/Translations.h"
#include "mac/qt/UI.h"

namespace penmac::linux_layer {

namespace {

bool Set(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0';
}

void PrintScreens(const IScreens& screens) {
  for (const ScreenInfo& s : screens.Screens()) {
    std::fprintf(stderr, "penmac: screen \"%s\" %gx%g at (%g, %g), y upward\n", s.name.c_str(), s.frame.size.width,
                 s.frame.size.height, s.frame.origin.x, s.frame.origin.y);
  }
}

}  // namespace

bool HasDisplay() { return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM"); }

DesktopApp::DesktopApp() {
  app_ = std::make_unique<QApplication>(argc_, argv_);
  // Windows come and go; the program lives in the status item until its
  // own "Exit Driver!".
  QApplication::setQuitOnLastWindowClosed(false);
  // Before the first text is made: the menu and the windows read it once.
  qt::InstallTranslator(*app_);
  screens_ = std::make_unique<qt::QtScreens>();
}

DesktopApp::~DesktopApp() {
  screens_.reset();
  app_.reset();
}

IScreens& DesktopApp::Screens() { return *screens_; }

Rect DesktopApp::DesktopInEventSpace() const { return screens_->DesktopInEventSpace(); }

int DesktopApp::Run(EpollMainLoop& loop, USBDelegate& delegate, INotificationCenter& center) {
  qt::DelegateSignals signals(delegate);
  qt::UI ui(delegate, center, *screens_, signals, alerts_);
  QObject::connect(screens_.get(), &qt::QtScreens::screensChanged, &ui, [this, &ui] {
    if (verbose) PrintScreens(*screens_);
    if (onScreensChanged) onScreensChanged();
    ui.ScreensChanged();
  });
  QObject::connect(&ui, &qt::UI::terminateRequested, &ui, [] { QCoreApplication::exit(0); });

  QSocketNotifier notifier(loop.Fd(), QSocketNotifier::Read);
  QObject::connect(&notifier, &QSocketNotifier::activated, &ui, [&loop] {
    if (!loop.DispatchReady()) QCoreApplication::exit(loop.ExitCode());
  });

  if (verbose) {
    PrintScreens(*screens_);
    QObject::connect(ui.mainMenu(), &QMenu::aboutToShow, &ui, [&ui] {
      std::fprintf(stderr, "penmac: menu: %s\n", ui.MenuLines().join(QStringLiteral(" | ")).toUtf8().constData());
    });
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
      std::fprintf(stderr, "penmac: no system tray yet; the status item shows once one starts\n");
    }
  }
  return QApplication::exec();
}

}  // namespace penmac::linux_layer
