#include "mac/qt/UI.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QtGlobal>

#include "mac/qt/DelegateSignals.h"
#include "mac/qt/MenuIcons.h"
#include "mac/qt/Tr.h"
#include "mac/qt/Views.h"

namespace penmac::qt {

namespace {

// The menu's texts come from the portable menu model; listed here so that
// the translation tools find them.
[[maybe_unused]] const char* const kMenuTexts[] = {
    QT_TRANSLATE_NOOP("penmac", "Tablet Disconnected!"), QT_TRANSLATE_NOOP("penmac", "Draw Panel"),
    QT_TRANSLATE_NOOP("penmac", "Screens Select"),       QT_TRANSLATE_NOOP("penmac", "Tablet Rotate"),
    QT_TRANSLATE_NOOP("penmac", "Button Binding"),       QT_TRANSLATE_NOOP("penmac", "Save Config"),
    QT_TRANSLATE_NOOP("penmac", "About"),         QT_TRANSLATE_NOOP("penmac", "Exit Driver!"),
};

std::string Text(const QString& text) { return text.toStdString(); }

}  // namespace

UI::UI(USBDelegate& USBDevice, INotificationCenter& notiCenter, IScreens& screens, DelegateSignals& signals,
       IAlerts& alerts, QObject* parent)
    : QObject(parent),
      USBDevice_(USBDevice),
      notiCenter_(notiCenter),
      screens_(screens),
      signals_(signals),
      alerts_(alerts),
      mainMenu_(std::make_unique<QMenu>()),
      statusItem_(std::make_unique<QSystemTrayIcon>()) {
  statusItem_->setContextMenu(mainMenu_.get());
  // A click on the symbol opens the menu, as the right button does.
  connect(statusItem_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::Trigger) mainMenu_->popup(QCursor::pos());
  });
  initMenu(false);
  ShowStatusSymbol();
  statusItem_->show();
  // After the model's own observers: by the time the menu hears of a
  // tablet, deviceName names it.
  observerPlugIn_ = notiCenter_.AddObserverOnMainQueue(HIDDeviceConnected, [this](const Notification& n) {
    if (!std::holds_alternative<DeviceEntry>(n.object)) return;
    plugin_ = true;
    initMenu(true);
    ShowStatusSymbol();
  });
  observerPlugOut_ = notiCenter_.AddObserverOnMainQueue(HIDDeviceDisconnected, [this](const Notification& n) {
    if (!std::holds_alternative<IdEntry>(n.object)) return;
    plugin_ = false;
    initMenu(false);
    ShowStatusSymbol();
  });
}

UI::~UI() {
  for (const auto& token : {observerPlugIn_, observerPlugOut_}) {
    if (token) notiCenter_.RemoveObserver(*token);
  }
  for (QWidget* w : {screensWindow_.data(), rotateWindow_.data(), buttonsWindow_.data(), drawWindow_.data()}) {
    delete w;
  }
}

void UI::initMenu(bool PlugIn) {
  mainMenu_->clear();
  for (const MenuItemData& row : MenuItems(PlugIn, USBDevice_.deviceName)) {
    if (row.separator) {
      mainMenu_->addSeparator();
      continue;
    }
    const QString text =
        row.translate ? Tr(row.menuText.c_str()) : QString::fromStdString(row.menuText);
    QAction* action = mainMenu_->addAction(SymbolIcon(row.imageName, row.imageColor), text);
    action->setEnabled(row.enabled);
    action->setIconVisibleInMenu(true);
    const MenuAction what = row.menuFunc;
    if (what != MenuAction::None) {
      connect(action, &QAction::triggered, this, [this, what] { Run(what); }, Qt::QueuedConnection);
    }
  }
  Q_EMIT menuRebuilt();
}

QStringList UI::MenuLines() const {
  QStringList lines;
  for (const QAction* a : mainMenu_->actions()) {
    lines << (a->isSeparator() ? QStringLiteral("---") : a->text() + (a->isEnabled() ? "" : " (disabled)"));
  }
  return lines;
}

void UI::ShowStatusSymbol() {
  statusItem_->setIcon(plugin_ ? SymbolIcon(kStatusSymbolConnected, "blue")
                               : SymbolIcon(kStatusSymbolDisconnected, "gray"));
  statusItem_->setToolTip(plugin_ ? QString::fromStdString(USBDevice_.deviceName) : Tr(kTabletDisconnected));
}

void UI::Run(MenuAction action) {
  switch (action) {
    case MenuAction::draw: draw(); break;
    case MenuAction::setupScreens: setupScreens(); break;
    case MenuAction::setupRotate: setupRotate(); break;
    case MenuAction::setupButtons: setupButtons(); break;
    case MenuAction::setupSave: setupSave(); break;
    case MenuAction::about: about(); break;
    case MenuAction::quit: quit(); break;
    case MenuAction::None: break;
  }
}

void UI::Open(QPointer<QWidget>& slot, const QString& title, const std::function<QWidget*()>& make) {
  mainMenu_->hide();
  if (slot) {
    slot->raise();
    slot->activateWindow();
    return;
  }
  QWidget* w = make();
  slot = w;
  w->setAttribute(Qt::WA_DeleteOnClose);
  w->setWindowFlag(Qt::WindowStaysOnTopHint);
  w->setWindowTitle(title);
  const QSize size = w->size();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    w->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
  }
  w->show();
  w->raise();
  w->activateWindow();
}

void UI::draw() {
  Open(drawWindow_, Tr("Draw Panel"), [] { return new DrawView(); });
}

void UI::setupScreens() {
  Open(screensWindow_, Tr("Screens Select"), [this] { return new SetupScreensView(USBDevice_, screens_); });
}

void UI::setupRotate() {
  Open(rotateWindow_, Tr("Tablet Rotate"), [this] { return new SetupRotateView(USBDevice_); });
}

void UI::setupButtons() {
  const bool opening = !buttonsWindow_;
  if (opening) USBDevice_.keySetup = true;
  Open(buttonsWindow_, Tr("Button Binding"), [this] { return new ModiKeyView(USBDevice_, signals_); });
  if (!opening) return;
  // A window closed by its title bar instead of "Ok" or "Cancel" must not
  // leave the tablet's buttons captured: they would do nothing from then on.
  USBDelegate& model = USBDevice_;
  connect(buttonsWindow_.data(), &QObject::destroyed, this, [&model] {
    model.keySetup = false;
    model.SetButtonId(0);
  });
}

void UI::setupSave() {
  mainMenu_->hide();
  statusItem_->hide();
  const int chosen = alerts_.Show(Alert{Text(Tr("Current Configuration Will be Saved!")),
                                        Text(Tr("Previous Configuration will be Overwritten!")),
                                        {Text(Tr("Ok")), Text(Tr("Cancel"))}});
  statusItem_->show();
  if (chosen == 0) USBDevice_.SetConfig();
}

void UI::about() {
  mainMenu_->hide();
  const std::string name = plugin_ ? USBDevice_.deviceName : Text(Tr(kTabletDisconnected));
  // The program's own credit line stands where a maker's contact would.
  alerts_.Show(Alert{name, USBDevice_.productName, {Text(Tr("Ok"))}});
}

void UI::quit() {
  mainMenu_->hide();
  const int chosen = alerts_.Show(Alert{Text(Tr("Tablet Driver will Exit! \n Please Save Config First!")),
                                        Text(Tr("Quit this program will terminate Pen Host! Are you sure?")),
                                        {Text(Tr("Ok")), Text(Tr("Cancel"))}});
  if (chosen == 0) Q_EMIT terminateRequested();
}

void UI::ScreensChanged() {
  // The screen window lists the screens when it opens; one that can follow
  // a change has a ScreensChanged slot of its own.
  if (screensWindow_ && screensWindow_->metaObject()->indexOfMethod("ScreensChanged()") >= 0) {
    QMetaObject::invokeMethod(screensWindow_.data(), "ScreensChanged");
  }
}

}  // namespace penmac::qt
