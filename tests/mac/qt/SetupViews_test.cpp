// The screen and rotation windows, driven through their widgets.
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "mac/MacFakes.h"
#include "mac/qt/QtApp.h"
#include "mac/qt/QtPrint.h"
#include "mac/qt/Views.h"

namespace penmac::qt {
namespace {

// Two screens side by side: 1920 x 1080 at (0, 0) and 1280 x 1024 at
// (1920, 0), top edges level.
constexpr const char* kTwoScreens = "1920x1080+0+0,1280x1024+1920+0";

QToolButton* PopUp(QWidget& view) {
  auto* button = view.findChild<QToolButton*>();
  EXPECT_NE(button, nullptr);
  return button;
}

QStringList Items(QWidget& view) {
  QStringList items;
  for (QAction* a : PopUp(view)->menu()->actions()) items << a->text();
  return items;
}

void Choose(QWidget& view, int item) { PopUp(view)->menu()->actions().at(item)->trigger(); }

// The one item marked as the choice being edited; -1 when none or several.
int Marked(QWidget& view) {
  int marked = -1;
  const QList<QAction*> items = PopUp(view)->menu()->actions();
  for (int i = 0; i < items.size(); ++i) {
    if (!items[i]->isChecked()) continue;
    if (marked != -1) return -1;
    marked = i;
  }
  return marked;
}

void Click(QWidget& view, const char* button) {
  auto* b = view.findChild<QPushButton*>(QString::fromLatin1(button));
  ASSERT_NE(b, nullptr) << button;
  QTest::mouseClick(b, Qt::LeftButton);
}

struct SetupScreensWindow : ::testing::Test, test::WithQt {
  SetupScreensWindow() {
    rig.screens = *ScreenLayout::Parse(kTwoScreens);
    // As at the first plug-in: the one screen of the rig's desktop.
    rig.delegate.screenConfig.Rect = Rect{{0, 0}, {1920, 1080}};
  }
  test::DelegateRig rig;
  SetupScreensView view{rig.delegate, rig.screens};
};

TEST_F(SetupScreensWindow, OffersTheWholeDesktopThenEachScreenAndStartsOnTheWholeDesktop) {
  view.show();
  EXPECT_EQ(view.size(), QSize(300, 80));
  EXPECT_EQ(PopUp(view)->text(), QStringLiteral("Map Tablet to Multi-Screen"));
  EXPECT_EQ(Items(view), (QStringList{"Map Tablet to Multi-Screen", "Map Tablet to Screen 1", "Map Tablet to Screen 2"}));
  Click(view, "ok");
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{0, 0}, {3200, 1080}}));
  EXPECT_FALSE(view.isVisible());
}

TEST_F(SetupScreensWindow, AScreenChosenReachesTheMappingOnlyOnOk) {
  view.show();
  EXPECT_EQ(Marked(view), 0);
  Choose(view, 2);
  EXPECT_EQ(PopUp(view)->text(), QStringLiteral("Map Tablet to Screen 2"));
  EXPECT_EQ(Marked(view), 2);
  Click(view, "cancel");
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{0, 0}, {1920, 1080}}));

  view.show();
  Choose(view, 2);
  Choose(view, 0);
  EXPECT_EQ(PopUp(view)->text(), QStringLiteral("Map Tablet to Multi Screens"));
  Choose(view, 2);
  Click(view, "ok");
  // The second screen's bottom edge lies 56 points above the primary's.
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{1920, 56}, {1280, 1024}}));
}

TEST_F(SetupScreensWindow, ReopenedAfterOkItStartsOnTheWholeDesktopWhileTheChoiceStaysInForce) {
  view.show();
  Choose(view, 2);
  Click(view, "ok");
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{1920, 56}, {1280, 1024}}));

  view.show();
  EXPECT_EQ(PopUp(view)->text(), QStringLiteral("Map Tablet to Multi-Screen"));
  Click(view, "cancel");
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{1920, 56}, {1280, 1024}}));

  view.show();
  Click(view, "ok");
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{0, 0}, {3200, 1080}}));
}

TEST_F(SetupScreensWindow, FollowsTheScreensWhenTheApplicationSaysTheyChanged) {
  view.show();
  Choose(view, 2);
  rig.screens = *ScreenLayout::Parse("1920x1080");
  view.ScreensChanged();
  EXPECT_EQ(Items(view), (QStringList{"Map Tablet to Multi-Screen", "Map Tablet to Screen 1"}));
  EXPECT_EQ(PopUp(view)->text(), QStringLiteral("Map Tablet to Multi Screens"));
  rig.screens = *ScreenLayout::Parse(kTwoScreens);
  view.ScreensChanged();
  Choose(view, 2);
  Click(view, "ok");
  EXPECT_EQ(rig.delegate.screenConfig.Rect, (Rect{{1920, 56}, {1280, 1024}}));
}

struct SetupRotateWindow : ::testing::Test, test::WithQt {
  test::DelegateRig rig;
  SetupRotateView view{rig.delegate};
};

TEST_F(SetupRotateWindow, ShowsTheAngleInForceAndOffersTheFourAngles) {
  rig.delegate.screenConfig.Rotation = "180º";
  view.show();
  EXPECT_EQ(view.size(), QSize(300, 80));
  EXPECT_EQ(PopUp(view)->text(), QStringLiteral("Tablet Working Angle: 180º"));
  EXPECT_EQ(Marked(view), 2);
  EXPECT_EQ(Items(view), (QStringList{"Tablet Rotate to: 0º", "Tablet Rotate to: 90º", "Tablet Rotate to: 180º",
                                      "Tablet Rotate to: 270º"}));
}

TEST_F(SetupRotateWindow, NinetyThenCancelLeavesTheRotationAndOkWritesIt) {
  view.show();
  Choose(view, 1);
  EXPECT_EQ(PopUp(view)->text(), QStringLiteral("Tablet Working Angle: 90º"));
  EXPECT_EQ(Marked(view), 1);
  Click(view, "cancel");
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(rig.delegate.screenConfig.Rotation, "0º");

  view.show();
  EXPECT_EQ(PopUp(view)->text(), QStringLiteral("Tablet Working Angle: 0º"));
  Choose(view, 3);
  Click(view, "ok");
  EXPECT_EQ(rig.delegate.screenConfig.Rotation, "270º");
  EXPECT_FALSE(view.isVisible());
}

}  // namespace
}  // namespace penmac::qt
