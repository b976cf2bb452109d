// Pictures of the four windows in use, for the documentation: written when
// PEN_QT_SHOTS names a folder, skipped otherwise.
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QTest>
#include <QToolButton>
#include <cmath>

#include <gtest/gtest.h>

#include "mac/MacFakes.h"
#include "mac/qt/DelegateSignals.h"
#include "mac/qt/QtApp.h"
#include "mac/qt/Views.h"

namespace penmac::qt {
namespace {

QString ShotsFolder() { return qEnvironmentVariable("PEN_QT_SHOTS"); }

void Save(QWidget& view, const char* name) {
  const QString path = QDir(ShotsFolder()).filePath(QStringLiteral("penmac-%1.png").arg(QLatin1String(name)));
  ASSERT_TRUE(view.grab().save(path)) << path.toStdString();
}

// The window with its menu open below the pop-up button.
void SaveWithMenu(QWidget& view, const char* name) {
  auto* button = view.findChild<QToolButton*>();
  QMenu* menu = button->menu();
  menu->adjustSize();
  const QPixmap window = view.grab();
  const QPixmap list = menu->grab();
  const QPoint at = button->mapTo(&view, QPoint(0, button->height()));
  QPixmap shot(std::max(window.width(), at.x() + list.width()), std::max(window.height(), at.y() + list.height()));
  shot.fill(Qt::transparent);
  QPainter painter(&shot);
  painter.drawPixmap(0, 0, window);
  painter.drawPixmap(at, list);
  painter.end();
  const QString path = QDir(ShotsFolder()).filePath(QStringLiteral("penmac-%1.png").arg(QLatin1String(name)));
  ASSERT_TRUE(shot.save(path)) << path.toStdString();
}

struct QtScreenshots : ::testing::Test {
  void SetUp() override {
    if (ShotsFolder().isEmpty()) GTEST_SKIP() << "PEN_QT_SHOTS names no folder";
    test::QtApp();
    ASSERT_TRUE(QDir().mkpath(ShotsFolder()));
  }
};

TEST_F(QtScreenshots, ScreenWindow) {
  test::DelegateRig rig;
  rig.screens = *ScreenLayout::Parse("1920x1080+0+0,1280x1024+1920+0");
  SetupScreensView view(rig.delegate, rig.screens);
  view.show();
  view.findChild<QToolButton*>()->menu()->actions().at(2)->trigger();
  Save(view, "setupscreens");
  SaveWithMenu(view, "setupscreens-menu");
}

TEST_F(QtScreenshots, RotationWindow) {
  test::DelegateRig rig;
  rig.delegate.screenConfig.Rotation = "90º";
  SetupRotateView view(rig.delegate);
  view.show();
  Save(view, "setuprotate");
  SaveWithMenu(view, "setuprotate-menu");
}

TEST_F(QtScreenshots, KeySetupWindow) {
  test::DelegateRig rig;
  rig.delegate.keySetup = true;
  rig.delegate.keyDefs[0x003] = KeyDef{"∙F5⌘", "R+"};
  DelegateSignals signals(rig.delegate);
  ModiKeyView view(rig.delegate, signals);
  test::TabletReport r;
  r.keysDown = 0x003;
  rig.Send(r);
  view.show();
  QTest::keyClick(&view, Qt::Key_F5);
  QTest::keyClicks(&view, QStringLiteral("s"));
  Save(view, "modikey");
  view.close();
}

TEST_F(QtScreenshots, DrawingCanvas) {
  DrawView view;
  view.show();
  QPointingDevice pen(QStringLiteral("pen"), 7, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
                      QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
  auto send = [&](QEvent::Type type, QPointF at, double pressure) {
    QTabletEvent e(type, &pen, at, view.mapToGlobal(at), pressure, 0, 0, 0, 0, 0, Qt::NoModifier,
                   type == QEvent::TabletMove ? Qt::NoButton : Qt::LeftButton,
                   type == QEvent::TabletRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton));
    QCoreApplication::sendEvent(&view, &e);
  };
  // A wave whose pressure swells and fades, and a spiral drawn ever harder.
  send(QEvent::TabletPress, {80, 200}, 0.05);
  for (int i = 1; i <= 200; ++i) {
    const double t = i / 200.0;
    send(QEvent::TabletMove, {80 + 940 * t, 200 + 80 * std::sin(t * 12)}, std::sin(t * 3.14159));
  }
  send(QEvent::TabletRelease, {1020, 200}, 0);
  send(QEvent::TabletPress, {558, 480}, 0.02);
  for (int i = 1; i <= 300; ++i) {
    const double t = i / 300.0;
    const double r = 8 + 150 * t;
    send(QEvent::TabletMove, {550 + r * std::cos(t * 18), 480 + r * std::sin(t * 18)}, t);
  }
  send(QEvent::TabletRelease, {700, 480}, 0);
  Save(view, "draw");
}

}  // namespace
}  // namespace penmac::qt
