#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "mac/Alerts.h"
#include "mac/Notifications.h"
#include "mac/Screens.h"
#include "mac/StatusMenu.h"
#include "mac/USBDelegate.h"

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace penmac::qt {

class DelegateSignals;

// The status item and its menu: the application's only standing user
// interface. The menu is rebuilt whenever the tablet comes or goes, and its
// commands open the setup windows, save the configuration, show the about
// panel and end the program.
//
// The commands run from the event loop, not from inside the menu's own
// signal, so that a menu rebuilt meanwhile (a notification delivered while
// an alert's nested loop runs) never pulls the chosen action away under
// its emission.
class UI : public QObject {
  Q_OBJECT
 public:
  UI(USBDelegate& USBDevice, INotificationCenter& notiCenter, IScreens& screens, DelegateSignals& signals,
     IAlerts& alerts, QObject* parent = nullptr);
  ~UI() override;

  // Rebuilds the menu for a tablet present or not.
  void initMenu(bool PlugIn);

  QSystemTrayIcon* statusItem() const { return statusItem_.get(); }
  QMenu* mainMenu() const { return mainMenu_.get(); }
  bool plugin() const { return plugin_; }
  // The rows shown now, one line each ("---" for a separator), for logs.
  QStringList MenuLines() const;
  // The windows open now (tests, the screen-change follow-up).
  QWidget* screensWindow() const { return screensWindow_; }
  QWidget* rotateWindow() const { return rotateWindow_; }
  QWidget* buttonsWindow() const { return buttonsWindow_; }
  QWidget* drawWindow() const { return drawWindow_; }

 public Q_SLOTS:
  void draw();
  void setupScreens();
  void setupRotate();
  void setupButtons();
  void setupSave();
  void about();
  void quit();
  // The desktop's screens changed: an open screen window lists them anew.
  void ScreensChanged();

 Q_SIGNALS:
  // "Exit Driver!" was confirmed.
  void terminateRequested();
  // The menu was rebuilt.
  void menuRebuilt();

 private:
  void Run(MenuAction action);
  // Puts a view into a window of its content size, centred, on top, deleted
  // when closed. A window already open is raised instead.
  void Open(QPointer<QWidget>& slot, const QString& title, const std::function<QWidget*()>& make);
  void ShowStatusSymbol();

  USBDelegate& USBDevice_;
  INotificationCenter& notiCenter_;
  IScreens& screens_;
  DelegateSignals& signals_;
  IAlerts& alerts_;
  std::unique_ptr<QMenu> mainMenu_;
  std::unique_ptr<QSystemTrayIcon> statusItem_;
  bool plugin_ = false;
  std::optional<ObserverToken> observerPlugIn_;
  std::optional<ObserverToken> observerPlugOut_;
  QPointer<QWidget> screensWindow_;
  QPointer<QWidget> rotateWindow_;
  QPointer<QWidget> buttonsWindow_;
  QPointer<QWidget> drawWindow_;
};

}  // namespace penmac::qt
