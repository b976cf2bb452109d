// The desktop's screens from Qt, in the model's bottom-left-origin space.
#include "mac/qt/QtScreens.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>

#include "mac/qt/QtApp.h"

namespace penmac::qt {
namespace {

TEST(QtScreens, GeometriesAsXGivesThemBecomeFramesWithYUpwardFromThePrimarysBottomLeft) {
  // A 1280 x 1024 screen to the right of a 1920 x 1080 primary, tops aligned,
  // and one above the primary.
  const ScreenLayout layout = QtScreens::LayoutOf({{"DELL U2415 (DP-1)", QRect(0, 0, 1920, 1080)},
                                                   {"HDMI-1", QRect(1920, 0, 1280, 1024)},
                                                   {"eDP-1", QRect(0, -900, 1600, 900)}});
  const auto screens = layout.Screens();
  ASSERT_EQ(screens.size(), 3u);
  EXPECT_EQ(screens[0].name, "DELL U2415 (DP-1)");
  EXPECT_EQ(screens[0].frame, (Rect{{0, 0}, {1920, 1080}}));
  EXPECT_EQ(screens[1].frame, (Rect{{1920, 56}, {1280, 1024}}));
  EXPECT_EQ(screens[2].frame, (Rect{{0, 1080}, {1600, 900}}));
  EXPECT_EQ(UnionOfFrames(screens), (Rect{{0, 0}, {3200, 1980}}));
  // The pen device spans them all, from the top-left of the one above.
  EXPECT_EQ(layout.DesktopInEventSpace(), (Rect{{0, -900}, {3200, 1980}}));
  EXPECT_EQ(layout.ToEventSpace(Point{100, 1080}), (Point{100, 0}));
}

TEST(QtScreens, AScreensNameIsItsModelWithItsConnector) {
  EXPECT_EQ(QtScreens::NameOf("DP-1", "DELL U2415"), "DELL U2415 (DP-1)");
  EXPECT_EQ(QtScreens::NameOf("HDMI-1", ""), "HDMI-1");
  EXPECT_EQ(QtScreens::NameOf("", "LG 27UL500"), "LG 27UL500");
}

TEST(QtScreens, TheLiveScreensAreQtsAndOnlyAChangeIsAnnounced) {
  test::QtApp();
  QtScreens screens;
  const QRect g = QGuiApplication::primaryScreen()->geometry();
  const auto list = screens.Screens();
  ASSERT_EQ(list.size(), static_cast<size_t>(QGuiApplication::screens().size()));
  EXPECT_EQ(list[0].frame, (Rect{{0, 0}, {double(g.width()), double(g.height())}}));
  EXPECT_EQ(screens.ToEventSpace(Point{10, 10}), (Point{10, double(g.height()) - 10}));
  EXPECT_EQ(screens.DesktopInEventSpace(), (Rect{{0, 0}, {double(g.width()), double(g.height())}}));
  QSignalSpy changed(&screens, &QtScreens::screensChanged);
  screens.Refresh();
  EXPECT_EQ(changed.count(), 0);
}

TEST(QtScreens, AScreenThatComesOrChangesIsSeenAndAnnouncedOnce) {
  test::QtApp();
  QtScreens::Geometries now{{"DP-1", QRect(0, 0, 1920, 1080)}};
  QtScreens screens([&] { return now; });
  QSignalSpy changed(&screens, &QtScreens::screensChanged);
  now.push_back({"HDMI-1", QRect(-1280, 0, 1280, 1024)});
  screens.Refresh();
  EXPECT_EQ(changed.count(), 1);
  ASSERT_EQ(screens.Screens().size(), 2u);
  EXPECT_EQ(screens.Screens()[1].frame, (Rect{{-1280, 56}, {1280, 1024}}));
  EXPECT_EQ(screens.DesktopInEventSpace(), (Rect{{-1280, 0}, {3200, 1080}}));
  screens.Refresh();  // nothing new
  EXPECT_EQ(changed.count(), 1);
  now[0].second = QRect(0, 0, 2560, 1440);  // the primary's resolution
  screens.Refresh();
  EXPECT_EQ(changed.count(), 2);
  EXPECT_EQ(screens.ToEventSpace(Point{0, 0}), (Point{0, 1440}));
}

}  // namespace
}  // namespace penmac::qt
