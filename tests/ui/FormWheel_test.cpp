// The wheel settings window's rules on the fake clock: the scrolled list
// that picks the current function, "Define Keys", and the commit on close.
#include "ui/FormWheel.h"

#include <gtest/gtest.h>

#include <functional>

#include "FormAFakes.h"
#include "support/FakeKeyboardLayout.h"
#include "support/FakeTimers.h"
#include "support/MemoryFiles.h"

namespace pen::test {
namespace {

using namespace wheel_field;

class RecordingWheelView : public IWheelWindowView {
 public:
  std::vector<std::string> calls;
  std::function<void(TfrmDefineKey&)> user;  // what the user does in the custom key window
  std::u16string heading;
  void Refresh() override { ++refreshes; }
  void CloseAnimation(int step) override { calls.push_back("animation " + std::to_string(step)); }
  void FadeOut() override { calls.push_back("fade"); }
  void RunDefineKey(TfrmDefineKey& w, std::u16string_view h) override {
    heading = h;
    calls.push_back("define keys");
    if (user) user(w);
    w.CloseBtnClick();
  }
  int refreshes = 0;
};

class FormWheel : public ::testing::Test {
 protected:
  FakeClock clock;
  FakeTimerQueue timers{clock};
  FakeTimer scrollTimer{timers};
  ProgramFolder folder;
  PortableIniFileSystem langIni;
  PortableFileReader langFiles;
  TCodePage1252 ansi;
  TLanguage language{langIni, langFiles, ansi, folder.Name()};
  FakeKeyboardLayout layout;
  RecordingWheelView view;
  MemoryFileStore store;
  MemoryIniFileSystem ini{store};
  FixedFolders folders;
  std::unique_ptr<TWheelData> data;
  TfrmWheel window{WheelWindowPorts{scrollTimer, clock, language, view, layout}};

  const std::string kFile = "/prog/TabletWheel.ini";

  void Open() {
    if (!data) data = std::make_unique<TWheelData>(ini, folders);  // a new installation: Volume current
    store.files[kFile] = "untouched";
    window.FormShow(*data);
  }
  bool Saved() const { return store.files.at(kFile) != "untouched"; }
};

TEST_F(FormWheel, ShownItColoursAndScrollsToTheCurrentFunctionWithCaptionsFromTheLanguage) {
  Open();
  EXPECT_EQ(window.ShownFunction(), 7);
  EXPECT_EQ(window.GroupColour(7), 15663103u);
  EXPECT_EQ(window.GroupColour(0), 16316664u);
  EXPECT_EQ(window.ScrollPosition(), 7 * 132 - 24);
  EXPECT_TRUE(window.Enabled(0) && window.Enabled(3) && window.Enabled(6) && window.Enabled(7));
  EXPECT_FALSE(window.Enabled(1) || window.Enabled(4));
  EXPECT_EQ(window.Caption(34), u"鼠标滚轮");
  EXPECT_EQ(window.Caption(45), u"不显示滚轮");
  window.ShowCurrentFunction(0);
  EXPECT_EQ(window.ScrollPosition(), 0);
}

TEST_F(FormWheel, TheFunctionInTheMiddleOfTheListBecomesCurrentAHundredMillisecondsAfterScrollingStops) {
  Open();
  window.ShowCurrentFunction(2);
  data->CurrentFunction = 2;
  window.VerticalScroll(300);  // middle at 407: group box 3
  timers.Run(60);
  window.VerticalScroll(420);  // middle at 527: group box 3 still... until
  window.VerticalScroll(430);  // 537: group box 4
  timers.Run(99);
  EXPECT_EQ(data->CurrentFunction, 2);
  timers.Run(1);
  EXPECT_EQ(data->CurrentFunction, 4);
  EXPECT_EQ(window.ShownFunction(), 4);
  EXPECT_EQ(window.ScrollPosition(), 4 * 132 - 24);
  EXPECT_FALSE(scrollTimer.running);
}

TEST_F(FormWheel, EachWheelStepScrollsOneGroupBoxAndTheLastStepPicksTheFunction) {
  Open();  // Volume, at the bottom
  window.ScrollWheel(0x01);  // up
  timers.Run(50);
  window.ScrollWheel(0x01);
  timers.Run(100);
  EXPECT_EQ(data->CurrentFunction, 5);
  window.ScrollWheel(0xFF);  // down
  timers.Run(100);
  EXPECT_EQ(data->CurrentFunction, 6);
  for (int i = 0; i < 12; ++i) window.ScrollWheel(0x01);
  timers.Run(100);
  EXPECT_EQ(data->CurrentFunction, 0);
  EXPECT_EQ(window.ScrollPosition(), 0);
}

TEST_F(FormWheel, ClosingWithoutChangesSavesNothingButRefreshesTheEnabledList) {
  data = std::make_unique<TWheelData>(ini, folders);
  data->Settings()[kZoomEnabled] = 1;  // the enabled list does not know yet
  ASSERT_EQ(data->EnabledList()[2], 0);
  Open();
  window.CloseBtnClick();
  EXPECT_TRUE(window.Closed());
  EXPECT_FALSE(window.Changed());
  EXPECT_FALSE(Saved());
  EXPECT_EQ(data->EnabledList()[2], 1);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"animation 0", "animation 1", "animation 2", "fade"}));
  EXPECT_EQ(clock.pumped, 300u);
}

TEST_F(FormWheel, ASwitchChangedIsWrittenSavedAndListed) {
  Open();
  window.SetEnabled(2, true);
  window.SetRotateType(2);
  window.SetHideWheel(true);
  window.CloseBtnClick();
  ASSERT_TRUE(Saved());
  EXPECT_NE(store.files.at(kFile).find("ZoomEnabled=1"), std::string::npos);
  EXPECT_NE(store.files.at(kFile).find("HideWheel=1"), std::string::npos);
  EXPECT_NE(store.files.at(kFile).find("RotateCanvasType=2"), std::string::npos);
  EXPECT_EQ(data->EnabledList()[2], 1);
}

TEST_F(FormWheel, OnlyAKeyPairChangedInTheCustomKeyWindowMarksTheDataChangedAndSavesIt) {
  Open();
  view.user = [](TfrmDefineKey& w) {
    EXPECT_EQ(w.KeyMode(), 1);
    EXPECT_EQ(w.Controls(TfrmDefineKey::kLeft).text, "-");  // the file's Ctrl + minus
    w.Type(TfrmDefineKey::kRight, "k");
  };
  window.btnZoomClick();
  EXPECT_EQ(view.heading, u"画布缩放");
  EXPECT_TRUE(window.Changed());
  EXPECT_EQ(data->Settings()[kZoomRRight], 1);
  EXPECT_EQ(data->Settings()[kZoomRRight + 1], 75);
  window.CloseBtnClick();
  EXPECT_TRUE(Saved());
  EXPECT_NE(store.files.at(kFile).find("ZoomRRight.MainKey=75"), std::string::npos);
}

TEST_F(FormWheel, TheCustomKeyWindowOpenedAndClosedUntouchedChangesNothing) {
  Open();
  window.btnLineWidthClick();
  window.btnSelfDefineClick();
  EXPECT_FALSE(window.Changed());
  window.CloseBtnClick();
  EXPECT_FALSE(Saved());
}

TEST_F(FormWheel, ASecondCloseDuringTheAnimationIsIgnored) {
  Open();
  int closesInside = 0;
  clock.onProcessMessages = [&] {
    ++closesInside;
    window.CloseBtnClick();  // a short press of the wheel's centre meanwhile
    window.btnZoomClick();   // and "Define Keys": too late
  };
  window.CloseBtnClick();
  EXPECT_EQ(closesInside, 2);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"animation 0", "animation 1", "animation 2", "fade"}));
}

TEST_F(FormWheel, SwitchingDisableWheelOffMovesToTheNextEnabledFunction) {
  store.files[kFile] =
      "[EnableItem]\r\nMouseWheelEnabled=1\r\nDisableAllEnabled=1\r\nZoomEnabled=1\r\nRotateCanvasEnabled=0\r\n"
      "UndoRedoEnabled=0\r\nVolumeEnabled=0\r\n";
  data = std::make_unique<TWheelData>(ini, folders);
  data->CurrentFunction = 4;
  Open();
  window.SetEnabled(4, false);
  window.CloseBtnClick();
  EXPECT_EQ(data->CurrentFunction, 0);  // after DisableAll: UserKey..Volume off, then MouseWheel
  // Switched on again, it does not move.
  Open();
  window.SetEnabled(4, true);
  window.CloseBtnClick();
  EXPECT_EQ(data->CurrentFunction, 0);
}

}  // namespace
}  // namespace pen::test
