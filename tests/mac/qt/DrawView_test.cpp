// The test canvas: pen strokes whose width follows the pressure, and a tap
// that clears them, seen in the pixels the canvas draws.
#include <QImage>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QTest>
#include <memory>

#include <gtest/gtest.h>

#include "mac/qt/QtApp.h"
#include "mac/qt/Views.h"

namespace penmac::qt {
namespace {

class Pen {
 public:
  explicit Pen(QWidget& canvas) : canvas_(canvas) {}

  void Press(QPointF at, double pressure) { Send(QEvent::TabletPress, at, pressure, Qt::LeftButton); }
  void Move(QPointF at, double pressure) {
    Send(QEvent::TabletMove, at, pressure, pressure > 0 ? Qt::LeftButton : Qt::NoButton);
  }
  void Release(QPointF at) { Send(QEvent::TabletRelease, at, 0, Qt::NoButton); }
  // A horizontal stroke at one pressure.
  void Stroke(double y, double fromX, double toX, double pressure) {
    Press({fromX, y}, pressure);
    for (double x = fromX + 10; x <= toX; x += 10) Move({x, y}, pressure);
    Release({toX, y});
  }

 private:
  void Send(QEvent::Type type, QPointF at, double pressure, Qt::MouseButton button) {
    const Qt::MouseButtons held = type == QEvent::TabletRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QTabletEvent event(type, device_.get(), at, canvas_.mapToGlobal(at), pressure, 0, 0, 0, 0, 0, Qt::NoModifier,
                       button, held);
    QCoreApplication::sendEvent(&canvas_, &event);
  }

  QWidget& canvas_;
  std::unique_ptr<QPointingDevice> device_ = std::make_unique<QPointingDevice>(
      QStringLiteral("pen"), 42, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
      QInputDevice::Capability::Position | QInputDevice::Capability::Pressure | QInputDevice::Capability::XTilt |
          QInputDevice::Capability::YTilt,
      1, 3);
};

// How many pixels of the column at `x`, around `y`, the ink covers.
int InkHeight(const QImage& image, int x, int y) {
  int n = 0;
  for (int dy = -40; dy <= 40; ++dy) {
    if (qGray(image.pixel(x, y + dy)) < 128) ++n;
  }
  return n;
}

struct DrawViewCanvas : ::testing::Test {
  DrawViewCanvas() {
    test::QtApp();
    view = std::make_unique<DrawView>();
    view->show();
  }
  QImage Shot() { return view->grab().toImage(); }
  std::unique_ptr<DrawView> view;
};

TEST_F(DrawViewCanvas, AHarderPressedStrokeIsWiderAtEveryProbe) {
  EXPECT_EQ(view->size(), QSize(1100, 700));
  Pen pen(*view);
  pen.Stroke(200, 100, 900, 0.1);
  pen.Stroke(450, 100, 900, 0.9);
  const QImage image = Shot();
  for (const int x : {150, 500, 850}) {
    const int light = InkHeight(image, x, 200);
    const int heavy = InkHeight(image, x, 450);
    EXPECT_GE(light, 2) << x;
    EXPECT_LE(light, 6) << x;
    // 0.9 of the way from 1 to 24 points wide.
    EXPECT_GE(heavy, 19) << x;
    EXPECT_LE(heavy, 24) << x;
  }
  // Nothing between the strokes, nothing before they start.
  EXPECT_EQ(InkHeight(image, 500, 325), 0);
  EXPECT_EQ(InkHeight(image, 60, 450), 0);
}

TEST_F(DrawViewCanvas, TheWidthFollowsThePressureWithinOneStroke) {
  Pen pen(*view);
  pen.Press({100, 300}, 0.05);
  for (int x = 110; x <= 1000; x += 10) pen.Move({double(x), 300}, (x - 100) / 900.0);
  pen.Release({1000, 300});
  const QImage image = Shot();
  EXPECT_LT(InkHeight(image, 200, 300), InkHeight(image, 550, 300));
  EXPECT_LT(InkHeight(image, 550, 300), InkHeight(image, 950, 300));
}

TEST_F(DrawViewCanvas, ThePenInTheAirDrawsNothing) {
  Pen pen(*view);
  for (int x = 100; x <= 900; x += 10) pen.Move({double(x), 300}, 0);
  EXPECT_EQ(InkHeight(Shot(), 500, 300), 0);
  EXPECT_TRUE(view->Path().MidPoint.empty());
}

TEST_F(DrawViewCanvas, ATapOfThePenOrTheMouseClearsIt) {
  Pen pen(*view);
  pen.Stroke(300, 100, 900, 0.8);
  ASSERT_GT(InkHeight(Shot(), 500, 300), 0);
  pen.Press({600, 600}, 0.5);
  pen.Release({600, 600});
  EXPECT_EQ(InkHeight(Shot(), 500, 300), 0);
  EXPECT_EQ(InkHeight(Shot(), 600, 600), 0);

  // The mouse draws at its fixed pressure and taps too.
  QTest::mousePress(view.get(), Qt::LeftButton, {}, QPoint(100, 300));
  for (int x = 110; x <= 900; x += 10) QTest::mouseMove(view.get(), QPoint(x, 300));
  QTest::mouseRelease(view.get(), Qt::LeftButton, {}, QPoint(900, 300));
  const int mouseInk = InkHeight(Shot(), 500, 300);
  EXPECT_GT(mouseInk, 0);
  QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(600, 600));
  EXPECT_EQ(InkHeight(Shot(), 500, 300), 0);
}

}  // namespace
}  // namespace penmac::qt
