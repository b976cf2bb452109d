#include "mac/qt/QtScreens.h"

#include <QGuiApplication>
#include <QScreen>

namespace penmac::qt {

QtScreens::QtScreens(std::function<Geometries()> source, QObject* parent)
    : QObject(parent), source_(source ? std::move(source) : &QtScreens::Current) {
  current_ = source_();
  layout_ = LayoutOf(current_);
  for (QScreen* s : QGuiApplication::screens()) Follow(s);
  connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* s) {
    Follow(s);
    Refresh();
  });
  // Queued: while the signal runs the screen is still in the list.
  connect(qApp, &QGuiApplication::screenRemoved, this, &QtScreens::Refresh, Qt::QueuedConnection);
  connect(qApp, &QGuiApplication::primaryScreenChanged, this, &QtScreens::Refresh);
}

void QtScreens::Follow(QScreen* screen) {
  connect(screen, &QScreen::geometryChanged, this, &QtScreens::Refresh);
}

QString QtScreens::NameOf(const QString& connector, const QString& model) {
  const QString m = model.trimmed();
  if (m.isEmpty()) return connector;
  if (connector.isEmpty() || m == connector) return m;
  return m + QStringLiteral(" (") + connector + QStringLiteral(")");
}

QtScreens::Geometries QtScreens::Current() {
  Geometries out;
  QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr) out.emplace_back(NameOf(primary->name(), primary->model()), primary->geometry());
  for (QScreen* s : QGuiApplication::screens()) {
    if (s != primary) out.emplace_back(NameOf(s->name(), s->model()), s->geometry());
  }
  return out;
}

ScreenLayout QtScreens::LayoutOf(const Geometries& primaryFirst) {
  std::vector<ScreenLayout::Screen> screens;
  for (const auto& [name, g] : primaryFirst) {
    screens.push_back(ScreenLayout::Screen{name.toStdString(), Rect{{double(g.x()), double(g.y())},
                                                                     {double(g.width()), double(g.height())}}});
  }
  return ScreenLayout(std::move(screens));
}

void QtScreens::Refresh() {
  auto now = source_();
  if (now == current_) return;
  current_ = std::move(now);
  layout_ = LayoutOf(current_);
  Q_EMIT screensChanged();
}

}  // namespace penmac::qt
