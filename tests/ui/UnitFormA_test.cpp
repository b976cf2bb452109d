#include <gtest/gtest.h>

#include "FormAFakes.h"
#include "ui/VersionLine.h"

namespace pen::test {
namespace {

using C = FormAControl;
using P = FakeFormWindow::Posted;

TEST_F(FormA, MovingTheTrackerSeveralTimesWithin200MsPostsOneCommand1WithTheLastValue) {
  form->jntrckr1ChangedValue(10);
  window.Advance(150);
  form->jntrckr1ChangedValue(40);
  window.Advance(150);
  form->jntrckr1ChangedValue(-25);
  // Drawing waits until the change has been applied.
  EXPECT_TRUE(form->DrawArea().Suspended);
  window.Advance(199);
  EXPECT_TRUE(window.posted.empty());
  window.Advance(1);
  EXPECT_EQ(window.posted, (std::vector<P>{{500, 1, -25}}));
  EXPECT_FALSE(form->DrawArea().Suspended);
  window.Advance(2000);
  EXPECT_EQ(window.posted.size(), 1u);
  EXPECT_EQ(form->GetPressureLevel(), -25);
}

TEST_F(FormA, SetDefaultPressureMovesTheTrackerToZeroAndPostsItOnlyWhenShown) {
  form->SetPressureLevel(100);
  form->btnResetPressureClick();
  window.Advance(200);
  EXPECT_EQ(window.posted, (std::vector<P>{{200, 1, 0}}));
  form->SetPressureLevel(100);
  form->SetPressureAdjustable(false);
  form->btnResetPressureClick();
  window.Advance(1000);
  EXPECT_EQ(window.posted.size(), 1u);
  EXPECT_EQ(form->GetPressureLevel(), 100);
}

TEST_F(FormA, TheServiceSetsTheTrackerWithoutPostingAndOnlyWithinRange) {
  form->SetPressureLevel(255);
  form->SetPressureLevel(256);
  form->SetPressureLevel(-256);
  EXPECT_EQ(form->GetPressureLevel(), 255);
  form->SetPressureLevel(-255);
  EXPECT_EQ(form->GetPressureLevel(), -255);
  window.Advance(5000);
  EXPECT_TRUE(window.posted.empty());
}

TEST_F(FormA, ResetAllPostsLeftHandOffTheChangedAreasTheDefinitionsAndApplies200MsLater) {
  Connected();
  form->SetScreenMapRect({100, 100, 3000, 3000});
  form->SetTabletMapRect({0, 0, 4095, 4095});
  form->SetLeftHandChecked(true);
  form->SetInkMode(false);  // "Use Windows Ink" checked
  form->SetSelfDefineKey(6);
  form->SetSelfDefineModifiers(6);
  form->SetPressureLevel(-90);
  window.now = 1000;
  form->BtnResetAllClick();
  // The tablet area already covered the whole tablet: no command 7.
  EXPECT_EQ(window.posted, (std::vector<P>{{1000, 8, 0}, {1000, 5, 0}, {1000, 9, 0}}));
  window.Advance(200);
  EXPECT_EQ(window.posted.back(), (P{1200, 0, 0}));
  EXPECT_EQ(window.posted.size(), 4u);
  // What command 0 then reads from the window.
  EXPECT_FALSE(form->LeftHandChecked());
  EXPECT_TRUE(form->InkMode());
  EXPECT_FALSE(form->Checked(C::chkUseInk));
  EXPECT_EQ(form->ScreenMapRect(), (MapRect{0, 0, 4095, 4095}));
  EXPECT_EQ(form->GetPressureLevel(), 0);
  EXPECT_EQ(form->KeyUsage(), 29);
  EXPECT_EQ(form->KeyModifiers(), 1);
  EXPECT_EQ(form->Caption(C::edt1), u"z");
  EXPECT_TRUE(form->Checked(C::chk1));
  EXPECT_FALSE(form->Checked(C::chk2));
  EXPECT_FALSE(form->Checked(C::chk3));
  EXPECT_TRUE(form->Shown(C::BtnKeyDefine));
}

TEST_F(FormA, ResetAllWithBothAreasChangedPostsFiveAndSevenInThatOrder) {
  form->SetScreenMapRect({0, 0, 2047, 4095});
  form->SetTabletMapRect({650, 650, 3500, 3500});
  form->BtnResetAllClick();
  window.Advance(200);
  EXPECT_EQ(window.Codes(), (std::vector<int64_t>{8, 5, 7, 9, 0}));
  EXPECT_EQ(form->TabletMapRect(), (MapRect{0, 0, 4095, 4095}));
}

TEST_F(FormA, KeyDefineFollowsWindowsInkAndTheFirmwareVersion) {
  // Checked "Use Windows Ink" with firmware below 1803: hidden.
  Connected("1802");
  form->SetInkMode(true);
  EXPECT_TRUE(form->Shown(C::BtnKeyDefine));
  form->chkUseInkMouseUp(true);
  EXPECT_FALSE(form->Shown(C::BtnKeyDefine));
  EXPECT_FALSE(form->InkMode());
  form->chkUseInkMouseUp(false);
  EXPECT_TRUE(form->Shown(C::BtnKeyDefine));
  EXPECT_TRUE(form->InkMode());

  // Firmware 1803: stays visible with Windows Ink.
  form->SetFirmwareVersion("1803");
  form->chkUseInkKeyPress(false);  // space on the unchecked box checks it
  EXPECT_TRUE(form->Checked(C::chkUseInk));
  EXPECT_TRUE(form->Shown(C::BtnKeyDefine));

  // Text that is not a decimal number counts as 0.
  form->SetFirmwareVersion("22A0");
  form->SetInkMode(false);
  EXPECT_FALSE(form->Shown(C::BtnKeyDefine));
}

TEST_F(FormA, KeyDefineIsShownOnUncheckingOnlyWithATablet) {
  form->SetFirmwareVersion("0");
  form->SetInkMode(false);
  EXPECT_FALSE(form->Shown(C::BtnKeyDefine));
  form->chkUseInkMouseUp(false);
  EXPECT_FALSE(form->Shown(C::BtnKeyDefine));
  form->SetTabletFound(true);
  form->chkUseInkMouseUp(true);
  form->chkUseInkMouseUp(false);
  EXPECT_TRUE(form->Shown(C::BtnKeyDefine));
}

TEST_F(FormA, ShowingWithoutAFirmwareVersionShowsOnlyTheServiceVersionAndNoKeyDefine) {
  form->SetFirmwareVersion("");
  form->SetServiceVersion("SVer: 4.6.1.222");
  form->SetInkMode(true);
  form->Show();
  EXPECT_EQ(form->Caption(C::lblVer), u"SVer: 4.6.1.222");
  EXPECT_FALSE(form->Shown(C::BtnKeyDefine));
  window.Advance(3000);
  EXPECT_TRUE(window.posted.empty());  // no report mode request either
}

TEST_F(FormA, ShowingAsksForReportMode3OnceASecondLater) {
  Connected();
  form->Show();
  window.Advance(999);
  EXPECT_TRUE(window.posted.empty());
  window.Advance(1);
  EXPECT_EQ(window.posted, (std::vector<P>{{1000, 4, 0}}));
  window.Advance(5000);
  EXPECT_EQ(window.posted.size(), 1u);
  // Hiding stops the cursor; the next show starts everything again.
  form->btnOkClick();
  EXPECT_FALSE(window.Running(FormATimer::Cursor));
  form->Show();
  window.Advance(1000);
  EXPECT_EQ(window.Codes(), (std::vector<int64_t>{4, 0, 4}));
}

TEST_F(FormA, ClosingReadsTheKeyAndModifiersFromTheEditorAndApplies) {
  Connected();
  form->Show();
  form->SetInkMode(true);
  form->chkUseInkMouseUp(true);
  form->edt1Change(u"Q");
  EXPECT_EQ(form->Caption(C::edt1), u"q");
  form->ModifierClick(C::chk1, false);
  form->ModifierClick(C::chk2, true);  // Alt
  form->ModifierClick(C::chk3, true);  // Shift
  form->btnOkClick();
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(form->KeyUsage(), 20);     // "q"
  EXPECT_EQ(form->KeyModifiers(), 6);  // Shift 2 + Alt 4
  EXPECT_FALSE(form->InkMode());
  EXPECT_EQ(window.posted.back(), (P{0, 0, 0}));
}

TEST_F(FormA, AnEmptyKeyOrATildeIsStoredAsUsageZero) {
  for (const std::u16string& key : {std::u16string(), std::u16string(u"~"), std::u16string(u"!")}) {
    form->Show();
    form->edt1Change(key);
    form->btnOkClick();
    EXPECT_EQ(form->KeyUsage(), 0) << key.size();
  }
}

TEST_F(FormA, ClosingWithoutAServiceWindowPostsNothing) {
  window.serviceAlive = false;
  form->Show();
  form->btnOkClick();
  EXPECT_TRUE(window.posted.empty());
}

TEST_F(FormA, DeviceKeysWithoutAPrintableCharacterFallBackToCtrlZ) {
  // Modifiers of 8 or more.
  form->SetSelfDefineKey(4);  // "a"
  form->SetSelfDefineModifiers(8);
  EXPECT_EQ(form->Caption(C::edt1), u"z");
  EXPECT_TRUE(form->Checked(C::chk1));
  EXPECT_FALSE(form->Checked(C::chk2));
  EXPECT_EQ(form->KeyUsage(), 29);
  EXPECT_EQ(form->KeyModifiers(), 1);
  // Usage 88 and beyond, and a usage with no character.
  for (uint8_t usage : {uint8_t{88}, uint8_t{255}, uint8_t{0}, uint8_t{40}}) {
    form->SetSelfDefineKey(5);
    form->SetSelfDefineModifiers(7);
    form->SetSelfDefineKey(usage);
    EXPECT_EQ(form->Caption(C::edt1), u"z") << int(usage);
    EXPECT_EQ(form->KeyUsage(), 29) << int(usage);
    EXPECT_EQ(form->KeyModifiers(), 1) << int(usage);
  }
  // A printable usage with its modifiers: Ctrl bit 0, Shift bit 1, Alt bit 2.
  form->SetSelfDefineKey(56);  // "/"
  form->SetSelfDefineModifiers(6);
  EXPECT_EQ(form->Caption(C::edt1), u"/");
  EXPECT_FALSE(form->Checked(C::chk1));
  EXPECT_TRUE(form->Checked(C::chk2));
  EXPECT_TRUE(form->Checked(C::chk3));
  EXPECT_EQ(form->KeyUsage(), 56);
}

TEST_F(FormA, LeftHandModeIsPostedAtOnceByMouseAndBySpace) {
  form->chkLeftHandMouseUp(true);
  form->chkLeftHandMouseUp(false);
  form->chkLeftHandKeyPress(false);  // unchecked before the space
  EXPECT_EQ(window.posted, (std::vector<P>{{0, 8, 1}, {0, 8, 0}, {0, 8, 1}}));
  EXPECT_TRUE(form->LeftHandChecked());
}

TEST_F(FormA, PressureShowsFourTimesTheSampleAndFullPressureAs8192) {
  form->Show();
  form->FeedPenSample(2041, 0, 0);
  const int32_t first = form->PressureLevel();
  EXPECT_GT(first, 2000);  // a quarter of the way to 8192 at once
  for (int i = 0; i < 60; ++i) form->FeedPenSample(2047, 0, 0);
  EXPECT_EQ(form->PressureLevel(), 8192);
  for (int i = 0; i < 60; ++i) form->FeedPenSample(500, 0, 0);
  EXPECT_EQ(form->PressureLevel(), 2000);
  for (int i = 0; i < 60; ++i) form->FeedPenSample(501, 0, 0);
  EXPECT_EQ(form->PressureLevel(), 2004);
  form->FeedPenSample(0, 0, 0);
  EXPECT_EQ(form->PressureLevel(), 0);
  // Beyond the tablet's range counts as full pressure.
  for (int i = 0; i < 60; ++i) form->FeedPenSample(70000, 0, 0);
  EXPECT_EQ(form->PressureLevel(), 8192);
  EXPECT_EQ(form->DrawArea().Pressure.load(), 8192);
}

TEST_F(FormA, PenSamplesStartTheChartOncePerShowingAndAreIgnoredWhileHidden) {
  form->FeedPenSample(1000, 5, 5);
  EXPECT_EQ(form->PressureLevel(), 0);
  EXPECT_EQ(window.lineRequests, 0);
  form->Show();
  for (int i = 0; i < 60; ++i) form->FeedPenSample(1000, 0, 0);
  EXPECT_EQ(window.lineRequests, 1);
  form->PressureLineRequested();
  EXPECT_TRUE(window.Running(FormATimer::PressureLine));
  window.Advance(100);
  EXPECT_EQ(form->Chart().Count(), 1u);
  EXPECT_EQ(form->Caption(C::lblPressure), std::u16string(u"4000"));
  EXPECT_EQ(form->ShownPressure(), 4000);
  window.Advance(900);
  EXPECT_EQ(form->Chart().Count(), 10u);
  form->Hide();
  EXPECT_FALSE(window.Running(FormATimer::PressureLine));
  form->Show();
  form->FeedPenSample(1000, 0, 0);
  EXPECT_EQ(window.lineRequests, 2);
}

TEST_F(FormA, TheTestAreaCursorAlternatesSlotsAndShowsTheTiltUntilSamplesStop) {
  form->Show();
  const int before = window.cursorsBuilt;
  const int slot = form->CursorSlot();
  form->FeedPenSample(800, 40, -20);
  window.Advance(50);
  EXPECT_EQ(window.cursorsBuilt, before + 1);
  EXPECT_NE(form->CursorSlot(), slot);
  EXPECT_DOUBLE_EQ(form->Cursor().lineEnd.x, 85 + 20);
  EXPECT_DOUBLE_EQ(form->Cursor().lineEnd.y, 85 - 10);
  window.Advance(50);
  EXPECT_EQ(form->CursorSlot(), slot);
  EXPECT_DOUBLE_EQ(form->Cursor().lineEnd.x, 85);  // no new sample: no line
  EXPECT_DOUBLE_EQ(form->Cursor().lineEnd.y, 85);
}

TEST_F(FormA, ATrackerChangeClearsTheTestAreaAndSuspendsNewStrokes) {
  form->Show();
  form->ImgDrawMouseDown(10, 10);
  EXPECT_FALSE(form->Shown(C::lblNotice));
  EXPECT_FALSE(form->Shown(C::lblDrawArea));
  form->jntrckr1ChangedValue(3);
  EXPECT_TRUE(form->Shown(C::lblNotice));
  StrokeStep step;
  EXPECT_FALSE(form->ImgDrawMouseMove(20, 20, step));
  form->ImgDrawMouseDown(30, 30);
  EXPECT_FALSE(form->DrawArea().Stroking());
  window.Advance(200);
  form->ImgDrawMouseDown(30, 30);
  EXPECT_TRUE(form->ImgDrawMouseMove(40, 30, step));
}

TEST_F(FormA, PressureControlsAndThePenScaleGoWhenThePressureIsNotAdjustable) {
  form->SetPressureAdjustable(false);
  for (C c : {C::jntrckr1, C::btnResetPressure, C::lblFirm, C::lblSoft, C::lblPressureFirmSoft}) {
    EXPECT_FALSE(form->Shown(c)) << LayoutOf(c).name;
  }
  EXPECT_TRUE(form->PenPictureBlanked());
  form->SetPressureAdjustable(true);
  EXPECT_TRUE(form->Shown(C::jntrckr1));
  EXPECT_FALSE(form->PenPictureBlanked());
}

TEST_F(FormA, TheStatusPanelAndVersionLineFollowTheTablet) {
  form->SetServiceVersion("SVer: 4.6.1.222");
  form->SetFirmwareVersion("0");
  form->SetModelCode("R711");
  form->SetTabletFound(false);
  EXPECT_EQ(form->Caption(C::pnlFound), u"Tablet not found");
  EXPECT_EQ(form->Caption(C::lblVer), u"SVer: 4.6.1.222");
  Connected("2210", "R711");
  EXPECT_EQ(form->Caption(C::pnlFound), u"Tablet found");
  EXPECT_EQ(form->Caption(C::lblVer), u"SVer: 4.6.1.222   HVer: 2210   ( 5080Max )");
  folder.Write("website.txt", "https://example.org/\r\n");
  form->SetTabletFound(true);
  EXPECT_EQ(form->Caption(C::lblVer), u"SVer: 4.6.1.222   HVer: 2210   ( QS5080 )");
  form->SetFirmwareVersion("");
  form->SetTabletFound(true);
  EXPECT_EQ(form->Caption(C::lblVer), u"");
}

TEST_F(FormA, TheWindowsTextsComeFromTheLanguageTableOnEveryShow) {
  form->Show();
  EXPECT_EQ(form->Caption(C::chkLeftHand), u"左手模式");
  EXPECT_EQ(form->Caption(C::BtnResetAll), u"恢复默认");
  EXPECT_EQ(form->Caption(C::lblNotice), u"此区域仅供测试用途,\r\n\r\n不是绘画软件.");
  EXPECT_EQ(form->Caption(C::BtnKeyDefine), u"Key Define");
  EXPECT_EQ(form->Caption(C::pnlFound), u"没有找到数位板设备");
  // Not translated: the modifier boxes and the chart's scale.
  EXPECT_EQ(form->Caption(C::chk1), u"Ctrl  +");
  EXPECT_EQ(form->Caption(C::lbl1), u"8192");
}

TEST_F(FormA, ChoosingALanguageSavesItReloadsTheTextsAndTellsTheService) {
  folder.Write("LanSetup.ini",
               "[MainItem]\r\nLanguagesCount=2\r\nUserSelectLanEnable=0\r\nUserSelectLan=2\r\n[LanIndex]\r\n"
               "English=1\r\n");
  std::string file = "\xEF\xBB\xBF";
  for (int d = 0; d < 2; ++d) {
    // Appended piece by piece: g++ 12 at -O3 reports a false -Wrestrict for "L" + ...
    for (int k = 0; k < lan::kBlockLines; ++k) {
      file.append("L").append(std::to_string(d)).append(".").append(std::to_string(k)).append("\r\n");
    }
  }
  folder.Write("TabletLan.txt", file);
  language.LoadLanguageTexts(0x0409);
  form->Show();
  EXPECT_EQ(form->Caption(C::chkLeftHand), u"L1.44");
  form->ScreenMappingChange(1);  // already the current one
  form->ScreenMappingChange(-1);  // no selection
  EXPECT_TRUE(window.posted.empty());
  form->ScreenMappingChange(0);
  EXPECT_EQ(window.posted, (std::vector<P>{{0, 3, 0}}));
  EXPECT_EQ(form->Caption(C::chkLeftHand), u"L0.44");
  EXPECT_EQ(form->Caption(C::pnlFound), u"L0.1");
  EXPECT_EQ(form->LanguageSelected(), 0);
  const std::string setup = folder.Read("LanSetup.ini");
  EXPECT_NE(setup.find("UserSelectLanEnable=1"), std::string::npos) << setup;
  EXPECT_NE(setup.find("UserSelectLan=0"), std::string::npos) << setup;
}

TEST_F(FormA, TheScreenMappingWindowsChangesArePostedAsCommand5And7OnlyForTheAreaThatChanged) {
  Connected("2210", "K24 ");
  form->Show();
  form->SetScreenMapRect({0, 0, 4095, 4095});
  form->SetTabletMapRect({0, 0, 4095, 4095});
  window.posted.clear();
  // The tablet area alone: command 7, with the window shown again first.
  children.tabletAfter = {650, 650, 3500, 3500};
  form->btnShowMapFormClick();
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(children.calls.back(), "map K24  tablet");
  EXPECT_EQ(window.posted, (std::vector<P>{{0, 7, 0}}));
  EXPECT_EQ(form->TabletMapRect(), (MapRect{650, 650, 3500, 3500}));
  // Unchanged: nothing.
  window.posted.clear();
  form->btnShowMapFormClick();
  EXPECT_TRUE(window.posted.empty());
  // The screen area alone: command 5.
  children.screenAfter = {0, 0, 2047, 4095};
  form->btnShowMapFormClick();
  EXPECT_EQ(window.posted, (std::vector<P>{{0, 5, 0}}));
  EXPECT_EQ(form->ScreenMapRect(), (MapRect{0, 0, 2047, 4095}));
  // Both: 5, then 7.
  window.posted.clear();
  children.screenAfter = {100, 0, 4095, 4095};
  children.tabletAfter = {0, 158, 4095, 3938};
  form->btnShowMapFormClick();
  EXPECT_EQ(window.posted, (std::vector<P>{{0, 5, 0}, {0, 7, 0}}));
  EXPECT_EQ(form->TabletMapRect(), (MapRect{0, 158, 4095, 3938}));
}

TEST_F(FormA, AKeySetupWindowClosedWithChangesPostsCommand6) {
  Connected("2210", "K24 ");
  form->Show();
  window.posted.clear();
  form->BtnKeyDefineClick();
  EXPECT_EQ(window.Codes(), (std::vector<int64_t>{6}));
  EXPECT_EQ(children.calls.back(), "keys " + std::to_string(static_cast<int>(KeySetupWindow::R711)));
  EXPECT_EQ(form->OpenKeyWindow(), KeySetupWindow::None);
  children.keyOk = false;
  window.posted.clear();
  form->BtnKeyDefineClick();
  EXPECT_TRUE(window.posted.empty());
}

TEST_F(FormA, WithoutChildWindowsTheirButtonsOpenNothing) {
  children.present = false;
  Connected();
  form->Show();
  const int hides = window.hides;
  form->btnShowMapFormClick();
  form->BtnKeyDefineClick();
  EXPECT_EQ(window.hides, hides);
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(children.calls.empty());
}

TEST(KeySetupFor, ModelCodesCompareExactlyWithTheirTrailingBlank) {
  EXPECT_EQ(KeySetupFor("K24 "), KeySetupWindow::R711);
  EXPECT_EQ(KeySetupFor("K24"), KeySetupWindow::None);
  EXPECT_EQ(KeySetupFor("R9270"), KeySetupWindow::R711);
  EXPECT_EQ(KeySetupFor("R888"), KeySetupWindow::R788);
  EXPECT_EQ(KeySetupFor("R766"), KeySetupWindow::R766);
  EXPECT_EQ(KeySetupFor("R733"), KeySetupWindow::R733);
  EXPECT_EQ(KeySetupFor("R755"), KeySetupWindow::R755);
  EXPECT_EQ(KeySetupFor(""), KeySetupWindow::None);
}

TEST(DisplayName, ModelsAreShownUnderTheirSalesNames) {
  EXPECT_EQ(DisplayName("R766", "", false), "K40");
  EXPECT_EQ(DisplayName("K60", "", false), "R888");
  EXPECT_EQ(DisplayName("K60", "", true), "QS600");
  EXPECT_EQ(DisplayName("R788", "[R788]R799 Pen", false), "K60");
  EXPECT_EQ(DisplayName("R788", "[R788]R711 Pen", true), "K90 lite");
  EXPECT_EQ(DisplayName("R790", "[R790]R788 Tablet", true), "K90");
  EXPECT_EQ(DisplayName("R790", "[R790]R711 Tablet", true), "R790");
  // The sub-code counts only when the ']' comes before the first blank.
  EXPECT_EQ(DisplayName("R788", "Pen [R788]R799", false), "R788");
  EXPECT_EQ(DisplayName("R700", "", false), "R700");
}

}  // namespace
}  // namespace pen::test
