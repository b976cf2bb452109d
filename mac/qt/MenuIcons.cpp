#include "mac/qt/MenuIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace penmac::qt {

namespace {

// The glyphs are drawn on a 24 x 24 grid and scaled to each pixmap size.
constexpr double kGrid = 24;

void Pencil(QPainter& p, QPointF tip, double length) {
  // A pencil lying from the tip up and to the right.
  p.save();
  p.translate(tip);
  p.rotate(-45);
  QPainterPath body;
  body.moveTo(0, 0);
  body.lineTo(4, -2.2);
  body.lineTo(length, -2.2);
  body.lineTo(length, 2.2);
  body.lineTo(4, 2.2);
  body.closeSubpath();
  p.drawPath(body);
  p.drawLine(QPointF(4, -2.2), QPointF(4, 2.2));
  p.restore();
}

void Paint(QPainter& p, std::string_view name) {
  if (name == "display.2") {
    p.drawRoundedRect(QRectF(2, 4, 12, 9), 1.5, 1.5);
    p.drawRoundedRect(QRectF(10, 9, 12, 9), 1.5, 1.5);
    p.drawLine(QPointF(16, 21), QPointF(16, 18));
  } else if (name == "rotate.left") {
    p.drawArc(QRectF(5, 5, 14, 14), 90 * 16, 270 * 16);
    QPainterPath head;
    head.moveTo(12, 1.5);
    head.lineTo(7.5, 5);
    head.lineTo(12, 8.5);
    p.drawPath(head);
  } else if (name == "info.circle") {
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.drawLine(QPointF(12, 10.5), QPointF(12, 17));
    p.drawPoint(QPointF(12, 7));
  } else if (name == "togglepower") {
    p.drawArc(QRectF(3.5, 4.5, 17, 17), 120 * 16, 300 * 16);
    p.drawLine(QPointF(12, 2), QPointF(12, 12));
  } else if (name == "pencil.and.outline") {
    Pencil(p, QPointF(5, 17), 16);
    p.drawLine(QPointF(3, 21.5), QPointF(21, 21.5));
  } else if (name == "square.and.pencil") {
    p.drawRoundedRect(QRectF(2.5, 5.5, 15, 15), 2, 2);
    Pencil(p, QPointF(10, 14), 14);
  } else if (name == "keyboard.onehanded.left") {
    p.drawRoundedRect(QRectF(2, 6, 20, 13), 2, 2);
    for (double x : {6.0, 10.0, 14.0, 18.0}) p.drawPoint(QPointF(x, 10.5));
    p.drawLine(QPointF(6, 15), QPointF(13, 15));
  } else if (name == "externaldrive.badge.checkmark") {
    p.drawRoundedRect(QRectF(2, 8, 16, 9), 2, 2);
    p.drawPoint(QPointF(6, 12.5));
    QPainterPath check;
    check.moveTo(14, 17);
    check.lineTo(17, 20.5);
    check.lineTo(22.5, 13);
    p.drawPath(check);
  } else if (name == "rectangle.and.pencil.and.ellipsis") {
    p.drawRoundedRect(QRectF(2, 5, 20, 14), 2, 2);
    for (double x : {6.0, 9.5, 13.0}) p.drawPoint(QPointF(x, 12));
    Pencil(p, QPointF(15, 15), 11);
  } else {
    p.setBrush(p.pen().color());
    p.drawEllipse(QRectF(7, 7, 10, 10));
  }
}

QPixmap Render(std::string_view name, const QColor& color, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kGrid, size / kGrid);
  QPen pen(color, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  Paint(p, name);
  return pixmap;
}

}  // namespace

QColor SymbolColor(std::string_view colorName) {
  if (colorName == "blue") return QColor(0x1E, 0x6F, 0xE0);
  // A yellow that still stands out on a light menu.
  if (colorName == "yellow") return QColor(0xE8, 0xA9, 0x00);
  if (colorName == "purple") return QColor(0x8E, 0x44, 0xAD);
  if (colorName == "red") return QColor(0xD9, 0x30, 0x25);
  return QColor(0x8C, 0x8C, 0x8C);
}

QIcon SymbolIcon(std::string_view imageName, std::string_view colorName) {
  const QColor color = SymbolColor(colorName);
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64}) icon.addPixmap(Render(imageName, color, size));
  return icon;
}

}  // namespace penmac::qt
