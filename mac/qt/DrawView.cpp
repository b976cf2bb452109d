#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTabletEvent>
#include <cmath>

#include "mac/qt/Views.h"

namespace penmac::qt {

namespace {

// Qt gives tilt in degrees, up to 60 either way; the canvas's model takes
// -1..1.
constexpr double kFullTilt = 60.0;
constexpr double kCorner = 10.0;
constexpr double kInset = 4.0;

Point ToPoint(QPointF p) { return {p.x(), p.y()}; }
QPointF ToQt(Point p) { return {p.x, p.y}; }

}  // namespace

DrawView::DrawView(QWidget* parent) : QWidget(parent) {
  setFixedSize(1100, 700);
  // Pen movements in the air arrive too; they draw nothing but keep the
  // view informed without a press.
  setAttribute(Qt::WA_TabletTracking);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

DrawView::~DrawView() = default;

void DrawView::Press(QPointF at, double pressure) {
  drawing_ = true;
  moved_ = false;
  pressedAt_ = at;
  myPath_.move(ToPoint(at), pressure);
  update();
}

void DrawView::Drag(QPointF at, double pressure, QPointF tilt) {
  if (!drawing_) return;
  if (!moved_ && std::hypot(at.x() - pressedAt_.x(), at.y() - pressedAt_.y()) < kTapDistance) return;
  moved_ = true;
  myPath_.line(ToPoint(at), pressure, {tilt.x(), tilt.y()});
  update();
}

void DrawView::Release(QPointF) {
  if (!drawing_) return;
  drawing_ = false;
  // A tap: press and release without a stroke between them.
  if (!moved_) myPath_.clear();
  update();
}

void DrawView::tabletEvent(QTabletEvent* event) {
  const QPointF at = event->position();
  switch (event->type()) {
    case QEvent::TabletPress:
      Press(at, event->pressure());
      break;
    case QEvent::TabletMove:
      if (event->pressure() > 0) {
        Drag(at, event->pressure(), QPointF(event->xTilt() / kFullTilt, event->yTilt() / kFullTilt));
      }
      break;
    case QEvent::TabletRelease:
      Release(at);
      break;
    default:
      break;
  }
  // Taken here, so Qt does not make mouse events of it as well.
  event->accept();
}

void DrawView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Press(event->position(), kMousePressure);
}

void DrawView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) Drag(event->position(), kMousePressure, {});
}

void DrawView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Release(event->position());
}

void DrawView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), palette().window());
  const QRectF canvas = QRectF(rect()).adjusted(kInset, kInset, -kInset, -kInset);
  QPainterPath frame;
  frame.addRoundedRect(canvas, kCorner, kCorner);
  painter.fillPath(frame, Qt::white);
  painter.setPen(QPen(palette().mid(), 1));
  painter.drawPath(frame);
  painter.setClipPath(frame);

  // Each stroke: its outline filled, and a disc at each point so that its
  // joins and ends are round.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(20, 40, 90));
  for (const MYPath::Stroke& stroke : myPath_.Strokes) {
    const std::vector<Point> outline = myPath_.dash(stroke.first, stroke.count);
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(outline.size()));
    for (const Point& p : outline) polygon << ToQt(p);
    if (stroke.count > 1) painter.drawPolygon(polygon, Qt::WindingFill);
    for (size_t i = stroke.first; i < stroke.first + stroke.count; ++i) {
      const double r = myPath_.Widths[i] / 2;
      painter.drawEllipse(ToQt(myPath_.MidPoint[i]), r, r);
    }
  }
}

}  // namespace penmac::qt
