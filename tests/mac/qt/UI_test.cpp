// The status item's menu and its commands, on the offscreen platform, with
// the model on fakes and notifications through a real NotificationCenter.
#include "mac/qt/UI.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QWidget>

#include "mac/MacFakes.h"
#include "mac/qt/AlertDriver.h"
#include "mac/qt/DelegateSignals.h"
#include "mac/qt/QtAlerts.h"
#include "mac/qt/QtApp.h"

namespace penmac::qt {
namespace {

struct MenuRig : test::DelegateFakes {
  USBDelegate delegate{Ports()};
  DelegateSignals signals{delegate};
  QtAlerts boxes;
  UI ui{delegate, center, screens, signals, boxes};

  // As the HID thread posts them and the main queue delivers them.
  void Connect(const std::string& name = "[R711]Pen Tablet") {
    center.Post(Notification{HIDDeviceConnected, DeviceEntry{HIDDevice(test::FakeHidDevice::Tablet(name))}});
    center.DrainMainQueue();
  }
  void Disconnect() {
    center.Post(Notification{HIDDeviceDisconnected, IdEntry{"/dev/hidraw0"}});
    center.DrainMainQueue();
  }
  QAction* Row(const QString& text) {
    for (QAction* a : ui.mainMenu()->actions()) {
      if (a->text() == text) return a;
    }
    return nullptr;
  }
  // Chooses a row as the user does; the command runs from the event loop.
  void Choose(const QString& text) {
    QAction* a = Row(text);
    ASSERT_NE(a, nullptr) << text.toStdString();
    a->trigger();
    QApplication::processEvents();
  }
};

std::vector<std::string> Rows(const UI& ui) {
  std::vector<std::string> out;
  for (const QString& line : ui.MenuLines()) out.push_back(line.toStdString());
  return out;
}

const std::vector<std::string> kWithTablet{
    "[K24 ]Pen Tablet", "Draw Panel",   "---",          "Screens Select", "Tablet Rotate",
    "Button Binding",   "Save Config", "---",          "About",   "Exit Driver!"};
const std::vector<std::string> kWithout{"Tablet Disconnected!",
                                        "Draw Panel",
                                        "---",
                                        "Screens Select (disabled)",
                                        "Tablet Rotate (disabled)",
                                        "Button Binding (disabled)",
                                        "Save Config (disabled)",
                                        "---",
                                        "About",
                                        "Exit Driver!"};

// The share of a colour among the opaque pixels of an icon.
double ShareOf(const QIcon& icon, QColor colour) {
  const QImage image = icon.pixmap(32, 32).toImage();
  int opaque = 0, matching = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.alpha() < 250) continue;
      ++opaque;
      if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue()) < 30) {
        ++matching;
      }
    }
  }
  return opaque > 0 ? double(matching) / opaque : 0;
}

TEST(StatusItem, TheMenuFollowsTheTabletThroughTheNotifications) {
  test::QtApp();
  MenuRig rig;
  EXPECT_EQ(Rows(rig.ui), kWithout);
  EXPECT_FALSE(rig.ui.plugin());
  const QIcon away = rig.ui.statusItem()->icon();

  rig.Connect("[K24 ]Pen Tablet");
  EXPECT_EQ(Rows(rig.ui), kWithTablet);
  EXPECT_TRUE(rig.ui.plugin());
  EXPECT_EQ(rig.ui.statusItem()->toolTip(), "[K24 ]Pen Tablet");
  // Another symbol on the status item, and the name's row in blue.
  EXPECT_NE(away.pixmap(32, 32).toImage(), rig.ui.statusItem()->icon().pixmap(32, 32).toImage());
  EXPECT_GT(ShareOf(rig.ui.mainMenu()->actions()[0]->icon(), QColor(0x1E, 0x6F, 0xE0)), 0.8);
  EXPECT_GT(ShareOf(rig.Row("Exit Driver!")->icon(), QColor(0xD9, 0x30, 0x25)), 0.8);

  rig.Disconnect();
  EXPECT_EQ(Rows(rig.ui), kWithout);
  EXPECT_FALSE(rig.ui.plugin());
  EXPECT_EQ(rig.ui.statusItem()->toolTip(), "Tablet Disconnected!");
  EXPECT_GT(ShareOf(rig.ui.mainMenu()->actions()[0]->icon(), QColor(0x8C, 0x8C, 0x8C)), 0.8);
}

// The menu as drawn. With PENMAC_MENU_PICTURES=DIR the pictures are kept
// there (docs/penmac-menu*.png: QT_SCALE_FACTOR=2, this test alone).
TEST(StatusItem, TheMenuIsDrawnWithARowForEachEntry) {
  test::QtApp();
  MenuRig rig;
  const auto draw = [&](const char* file) {
    QMenu* menu = rig.ui.mainMenu();
    menu->ensurePolished();
    menu->adjustSize();
    const QPixmap picture = menu->grab();
    const QByteArray dir = qgetenv("PENMAC_MENU_PICTURES");
    if (!dir.isEmpty()) picture.save(QString::fromUtf8(dir) + "/" + file);
    return picture;
  };
  const QPixmap without = draw("penmac-menu-disconnected.png");
  rig.Connect();
  const QPixmap with = draw("penmac-menu.png");
  // Eight rows and two separators, each row at least a line of text high.
  const int line = rig.ui.mainMenu()->fontMetrics().height();
  EXPECT_GE(with.height(), 8 * line);
  EXPECT_GE(with.width(), rig.ui.mainMenu()->fontMetrics().horizontalAdvance("Screens Select") + 16);
  EXPECT_EQ(with.height(), without.height());
  EXPECT_NE(with.toImage(), without.toImage());
}

TEST(StatusItem, SavingWritesBothFilesOnlyOnOkAndHidesTheItemMeanwhile) {
  test::QtApp();
  MenuRig rig;
  rig.Connect();
  rig.files.written.clear();

  bool hiddenWhileOpen = false;
  auto seen = test::AnswerNextAlert("Cancel", [&] { hiddenWhileOpen = !rig.ui.statusItem()->isVisible(); });
  rig.Choose("Save Config");
  EXPECT_TRUE(seen->answered);
  EXPECT_EQ(seen->text, "Current Configuration Will be Saved!");
  EXPECT_EQ(seen->informative, "Previous Configuration will be Overwritten!");
  EXPECT_EQ(seen->buttons, (QStringList{"Ok", "Cancel"}));
  EXPECT_TRUE(hiddenWhileOpen);
  EXPECT_TRUE(rig.ui.statusItem()->isVisible());
  EXPECT_TRUE(rig.files.written.empty());

  rig.delegate.screenConfig.Rotation = "90º";
  seen = test::AnswerNextAlert("Ok");
  rig.Choose("Save Config");
  EXPECT_TRUE(seen->answered);
  EXPECT_EQ(rig.files.written, (std::vector<std::string>{"[R711]Pen Tablet.scrn", "[R711]Pen Tablet.keys"}));
  EXPECT_NE(rig.files.files["[R711]Pen Tablet.scrn"].find("90º"), std::string::npos);
}

TEST(StatusItem, QuitAsksAndOnlyOkEndsTheProgram) {
  test::QtApp();
  MenuRig rig;
  QSignalSpy terminate(&rig.ui, &UI::terminateRequested);
  auto seen = test::AnswerNextAlert("Cancel");
  rig.Choose("Exit Driver!");
  EXPECT_TRUE(seen->answered);
  EXPECT_EQ(seen->text, "Tablet Driver will Exit! \n Please Save Config First!");
  EXPECT_EQ(seen->informative, "Quit this program will terminate Pen Host! Are you sure?");
  EXPECT_EQ(terminate.count(), 0);
  EXPECT_TRUE(rig.ui.statusItem()->isVisible());

  seen = test::AnswerNextAlert("Ok");
  rig.Choose("Exit Driver!");
  EXPECT_EQ(terminate.count(), 1);
  // Nothing is saved on the way out.
  EXPECT_TRUE(rig.files.written.empty());
}

TEST(StatusItem, AboutNamesTheTablet) {
  test::QtApp();
  MenuRig rig;
  rig.Connect("[R9270]Pen Tablet");
  auto seen = test::AnswerNextAlert("Ok");
  rig.Choose("About");
  EXPECT_EQ(seen->text, "[R9270]Pen Tablet");
  EXPECT_EQ(seen->buttons, QStringList{"Ok"});
  EXPECT_EQ(seen->informative, "penmac - pen tablet driver");
}

// The alert's nested loop delivers what arrives meanwhile: the menu that
// opened it is rebuilt under the chosen row's feet.
TEST(StatusItem, ATabletLeavingWhileAnAlertIsOpenRebuildsTheMenuSafely) {
  test::QtApp();
  MenuRig rig;
  rig.Connect();
  std::vector<std::string> rowsWhileOpen;
  auto seen = test::AnswerNextAlert("Ok", [&] {
    rig.Disconnect();
    rowsWhileOpen = Rows(rig.ui);
  });
  rig.Choose("Save Config");
  EXPECT_TRUE(seen->answered);
  EXPECT_EQ(rowsWhileOpen, kWithout);
  EXPECT_EQ(Rows(rig.ui), kWithout);
  // The save confirmed before the removal was known still writes.
  EXPECT_FALSE(rig.files.written.empty());

  // And the other way round, during the quit question.
  seen = test::AnswerNextAlert("Cancel", [&] { rig.Connect("[R755]Pen Tablet"); });
  rig.Choose("Exit Driver!");
  EXPECT_TRUE(seen->answered);
  EXPECT_EQ(Rows(rig.ui)[0], "[R755]Pen Tablet");
  EXPECT_TRUE(rig.Row("Button Binding")->isEnabled());
}

TEST(StatusItem, EachWindowOpensOnceAtItsSizeOnTopAndGoesWhenClosed) {
  test::QtApp();
  MenuRig rig;
  rig.Connect();
  struct Case {
    const char* row;
    QWidget* (UI::*window)() const;
    QSize size;
  };
  for (const Case& c : {Case{"Draw Panel", &UI::drawWindow, {1100, 700}},
                        Case{"Screens Select", &UI::screensWindow, {300, 80}},
                        Case{"Tablet Rotate", &UI::rotateWindow, {300, 80}},
                        Case{"Button Binding", &UI::buttonsWindow, {580, 150}}}) {
    SCOPED_TRACE(c.row);
    rig.Choose(c.row);
    QPointer<QWidget> w = (rig.ui.*c.window)();
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->size(), c.size);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w->windowTitle().toStdString(), c.row);
    rig.Choose(c.row);  // again: the same window, not a second one
    EXPECT_EQ((rig.ui.*c.window)(), w.data());
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w);
    EXPECT_EQ((rig.ui.*c.window)(), nullptr);
  }
}

TEST(StatusItem, KeySetupCapturesWhileItsWindowIsOpenHoweverItCloses) {
  test::QtApp();
  MenuRig rig;
  rig.Connect();
  rig.Choose("Button Binding");
  EXPECT_TRUE(rig.delegate.keySetup);
  rig.delegate.SetButtonId(0x0004);
  // Closed by the title bar rather than by its own buttons.
  rig.ui.buttonsWindow()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(rig.delegate.keySetup);
  EXPECT_EQ(rig.delegate.buttonId, 0);
}

}  // namespace
}  // namespace penmac::qt
