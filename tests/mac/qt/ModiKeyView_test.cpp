// The key-setup window: its header follows the tablet, it captures the keys
// the application receives, and its boxes build the definition.
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "mac/KeyTables.h"
#include "mac/MacFakes.h"
#include "mac/qt/DelegateSignals.h"
#include "mac/qt/QtApp.h"
#include "mac/qt/QtPrint.h"
#include "mac/qt/QtKeyCodes.h"
#include "mac/qt/Views.h"

namespace penmac::qt {
namespace {

struct ModiKeyWindow : ::testing::Test, test::WithQt {
  ModiKeyWindow() { rig.delegate.keySetup = true; }
  ~ModiKeyWindow() override { view.close(); }

  // Bits 0.. tablet keys 1.., held in one report.
  void PressTabletKeys(uint16_t down) {
    test::TabletReport r;
    r.keysDown = down;
    rig.Send(r);
  }
  QString Text(const char* label) { return view.findChild<QLabel*>(QString::fromLatin1(label))->text(); }
  void Tick(const char* box) {
    auto* b = view.findChild<QCheckBox*>(QString::fromLatin1(box));
    ASSERT_NE(b, nullptr) << box;
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
  }
  bool Ticked(const char* box) { return view.findChild<QCheckBox*>(QString::fromLatin1(box))->isChecked(); }
  void Click(const char* button) {
    auto* b = view.findChild<QPushButton*>(QString::fromLatin1(button));
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton);
  }
  void Show() {
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  }

  test::DelegateRig rig;
  DelegateSignals signals{rig.delegate};
  ModiKeyView view{rig.delegate, signals};
};

TEST_F(ModiKeyWindow, TheHeaderPromptsThenShowsTheCapturedButton) {
  Show();
  EXPECT_EQ(view.size(), QSize(580, 150));
  EXPECT_EQ(Text("header"), QStringLiteral("Press the tablet button to be customized"));
  PressTabletKeys(0x003);
  EXPECT_EQ(Text("header"), QStringLiteral("Key: 003   ☞"));
  // Only the first button is captured.
  PressTabletKeys(0x000);
  PressTabletKeys(0x800);
  EXPECT_EQ(Text("header"), QStringLiteral("Key: 003   ☞"));
}

TEST_F(ModiKeyWindow, KeyOneF5CommandAndRightBecomeOneDefinition) {
  Show();
  PressTabletKeys(0x001);
  QTest::keyClick(&view, Qt::Key_F5);
  EXPECT_EQ(Text("keyvalue"), QStringLiteral("∙F5"));
  Tick("k0");
  Tick("mR");
  Click("ok");
  EXPECT_EQ(rig.delegate.keyDefs.at(1), (KeyDef{"∙F5⌘", "R"}));
  EXPECT_FALSE(rig.delegate.keySetup);
  EXPECT_EQ(rig.delegate.buttonId, 0);
  EXPECT_FALSE(view.isVisible());
}

TEST_F(ModiKeyWindow, KeysFromTheWindowSystemAreTakenOnceEachAndStopGrowingBeyondTenCharacters) {
  Show();
  // Through the window, as the platform delivers them: the window, the
  // focused widget and its parents all see the one press.
  QTest::keyClick(view.windowHandle(), Qt::Key_A, {}, 0);
  QTest::keyClick(view.windowHandle(), Qt::Key_B);
  QTest::keyClick(view.windowHandle(), Qt::Key_C);
  EXPECT_EQ(Text("keyvalue"), QStringLiteral("abc"));
  QTest::keyClicks(&view, QStringLiteral("defghijklmnop"));
  EXPECT_EQ(Text("keyvalue"), QStringLiteral("abcdefghijk"));
  Click("clear");
  EXPECT_EQ(Text("keyvalue"), QString());
  QTest::keyClick(view.windowHandle(), Qt::Key_Space);
  QTest::keyClick(&view, Qt::Key_Left);
  QTest::keyClick(&view, Qt::Key_Shift);  // no characters: nothing
  EXPECT_EQ(Text("keyvalue"), QStringLiteral("∙␣∙←"));
}

TEST_F(ModiKeyWindow, KeysAreNotCapturedWhileTheWindowIsClosed) {
  Show();
  view.hide();
  QTest::keyClick(&view, Qt::Key_X);
  view.show();
  QTest::keyClick(&view, Qt::Key_Y);
  EXPECT_EQ(Text("keyvalue"), QStringLiteral("y"));
}

TEST_F(ModiKeyWindow, CancelLeavesTheDefinitionsAndEndsKeySetup) {
  rig.delegate.keyDefs[1] = KeyDef{"a", ""};
  Show();
  PressTabletKeys(0x001);
  QTest::keyClick(&view, Qt::Key_B);
  Tick("mL");
  Click("cancel");
  EXPECT_EQ(rig.delegate.keyDefs, (KeyDefs{{1, KeyDef{"a", ""}}}));
  EXPECT_FALSE(rig.delegate.keySetup);
  EXPECT_EQ(rig.delegate.buttonId, 0);
  EXPECT_EQ(Text("header"), QStringLiteral("Press the tablet button to be customized"));
}

TEST_F(ModiKeyWindow, TheBoxesStartFromTheDefinitionInForceAndEachOpeningStartsOver) {
  rig.delegate.keyDefs[0x001] = KeyDef{"a⌥⌃", "M-"};
  PressTabletKeys(0x001);
  Show();
  EXPECT_FALSE(Ticked("k0"));
  EXPECT_TRUE(Ticked("k1"));
  EXPECT_TRUE(Ticked("k3"));
  EXPECT_TRUE(Ticked("mM"));
  EXPECT_TRUE(Ticked("mD"));
  EXPECT_FALSE(Ticked("mI"));
  QTest::keyClick(&view, Qt::Key_Z);
  Tick("mI");
  Click("ok");
  EXPECT_EQ(rig.delegate.keyDefs.at(1), (KeyDef{"z⌥⌃", "M+-"}));

  // The same window again, for the same button: nothing of the last edit
  // is carried over but what the definition says.
  rig.delegate.keySetup = true;
  PressTabletKeys(0x000);
  PressTabletKeys(0x001);
  Show();
  EXPECT_EQ(Text("keyvalue"), QString());
  EXPECT_TRUE(Ticked("mI"));
  Click("ok");
  EXPECT_EQ(rig.delegate.keyDefs.at(1), (KeyDef{"⌥⌃", "M+-"}));
}

TEST(QtKeyCodes, EveryNamedKeyCanBeTyped) {
  for (const NamedKey& k : NamedKeys()) {
    bool found = false;
    for (int key = Qt::Key_Escape; key <= Qt::Key_F35 && !found; ++key) {
      found = NamedKeyCodeForQtKey(key) == k.keyCode;
    }
    if (!found) found = NamedKeyCodeForQtKey(Qt::Key_Space) == k.keyCode;
    EXPECT_TRUE(found) << k.name;
  }
  EXPECT_EQ(NamedKeyCodeForQtKey(Qt::Key_F11), std::nullopt);
  EXPECT_EQ(NamedKeyCodeForQtKey(Qt::Key_A), std::nullopt);
}

TEST(QtKeyCodes, ACharacterKeyTakesItsCodeFromTheCharacterTables) {
  test::QtApp();
  const QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  EXPECT_EQ(ToKeyPress(a).keyCode, 0);
  EXPECT_EQ(ToKeyPress(a).characters, "a");
  const QKeyEvent euro(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("€"));
  EXPECT_EQ(ToKeyPress(euro).keyCode, kNoKeyCode);
  EXPECT_EQ(ToKeyPress(euro).characters, "€");
  const QKeyEvent controlC(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
  EXPECT_EQ(ToKeyPress(controlC).characters, "");
  const QKeyEvent f13(QEvent::KeyPress, Qt::Key_F13, Qt::NoModifier);
  EXPECT_EQ(ToKeyPress(f13).keyCode, 105);
}

}  // namespace
}  // namespace penmac::qt
