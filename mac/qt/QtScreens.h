#pragma once
#include <QList>
#include <QObject>
#include <QRect>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "mac/ScreenLayout.h"

class QScreen;

namespace penmac::qt {

// The desktop's screens as Qt knows them, live: screens that come, go or
// change their geometry are seen at once, and screensChanged() tells whoever
// holds on to the old layout (the pen device's axes, an open screen window).
// Qt gives the geometries as X11 does (top-left origin, y downward, device
// independent pixels); the model gets them in its bottom-left-origin space.
class QtScreens : public QObject, public IScreens {
  Q_OBJECT
 public:
  // Named geometries, the primary screen first.
  using Geometries = std::vector<std::pair<QString, QRect>>;
  // `source` stands in for Qt's list of screens (tests); by default Qt's.
  explicit QtScreens(std::function<Geometries()> source = {}, QObject* parent = nullptr);

  std::vector<ScreenInfo> Screens() const override { return layout_.Screens(); }
  std::optional<Point> ToEventSpace(Point bottomLeft) const override { return layout_.ToEventSpace(bottomLeft); }
  // The whole desktop in the event space: what the pen device spans.
  Rect DesktopInEventSpace() const { return layout_.DesktopInEventSpace(); }

  static ScreenLayout LayoutOf(const Geometries& primaryFirst);
  // A screen's name for the user: its model, with the connector it is on.
  static QString NameOf(const QString& connector, const QString& model);

 public Q_SLOTS:
  // Reads the screens again; screensChanged() when anything differs.
  void Refresh();

 Q_SIGNALS:
  void screensChanged();

 private:
  void Follow(QScreen* screen);
  static Geometries Current();

  std::function<Geometries()> source_;
  Geometries current_;
  ScreenLayout layout_{{}};
};

}  // namespace penmac::qt
