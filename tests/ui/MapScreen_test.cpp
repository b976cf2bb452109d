// The screen mapping window's model: what the settings window gets back,
// the picture's layout, the tablet drawings and the tablet presets.
#include "ui/MapScreen.h"

#include <gtest/gtest.h>

namespace pen {
namespace {

constexpr MapRect kFull{0, 0, 4095, 4095};
const DesktopGeometry kOneScreen{{0, 0, 1920, 1080}, {{0, 0, 1920, 1080}}};

class ScreenMapping : public ::testing::Test {
 protected:
  TScreenMappingForm form;
  void Open(const std::string& model, const MapRect& screen, const MapRect& tablet, bool showTablet = true) {
    form.ModelCode = model;
    form.ShowTabletArea = showTablet;
    form.SetScreenArea(screen);
    form.SetTabletArea(tablet);
    form.FormShow(kOneScreen);
  }
  MapRect Toggle() {
    form.BtnToggleTabletClick();
    return form.TabletArea();
  }
};

TEST_F(ScreenMapping, OpeningAndClosingWithoutTouchingAnythingGivesBackBothRectanglesExactly) {
  Open("R711", {1, 2, 3001, 3999}, {123, 456, 3210, 3987});
  EXPECT_EQ(form.ScreenArea(), (MapRect{1, 2, 3001, 3999}));
  EXPECT_EQ(form.TabletArea(), (MapRect{123, 456, 3210, 3987}));
  // Hidden, the tablet half gives back what it was given, whatever its frame.
  Open("R711", kFull, {7, 8, 4000, 4001}, false);
  EXPECT_EQ(form.ScreenArea(), kFull);
  EXPECT_EQ(form.TabletArea(), (MapRect{7, 8, 4000, 4001}));
}

TEST_F(ScreenMapping, TheDesktopPictureTakesTheHeightDownToTheTabletOrTheWholeWindow) {
  Open("R711", kFull, kFull);
  EXPECT_EQ(form.Monitor().ScreenRect(), (PixelRect{214, 28, 777, 345}));
  EXPECT_EQ(form.Monitor().Shape().Rect(), (PixelRect{214, 28, 777, 345}));
  Open("R711", kFull, kFull, false);
  EXPECT_EQ(form.Monitor().ScreenRect(), (PixelRect{80, 126, 912, 594}));
  EXPECT_FALSE(form.TabletShown());
  // The picture covers where the tablet toggle would be.
  EXPECT_EQ(form.HitAt(780, 570), MapScreenHit::ScreenFrame);
}

TEST_F(ScreenMapping, DraggingTheScreenFrameInThePictureChangesTheScreenArea) {
  Open("R711", kFull, kFull);
  // The bottom-right grip of the picture (214, 28)-(777, 345).
  EXPECT_EQ(form.CursorAt(775, 343), FrameCursor::SizeNWSE);
  EXPECT_EQ(form.MouseDown(775, 343), MapScreenHit::ScreenFrame);
  form.MouseMove(600, 250);
  EXPECT_EQ(form.CursorAt(10, 10), FrameCursor::SizeNWSE);  // the drag keeps its cursor
  form.MouseUp();
  EXPECT_EQ(form.Monitor().Shape().Rect(), (PixelRect{214, 28, 602, 252}));
  EXPECT_EQ(form.ScreenArea(), (MapRect{0, 0, 2822, 2893}));
  EXPECT_EQ(form.TabletArea(), kFull);
}

TEST_F(ScreenMapping, WithOneMonitorDoubleClickingTheScreenFrameGivesTheWholeDesktop) {
  Open("R711", {100, 100, 2000, 2000}, kFull);
  form.MouseDown(400, 150);
  form.MouseUp();
  form.DoubleClick(400, 150);
  EXPECT_EQ(form.ScreenArea(), kFull);
  form.btnToggleScreenClick();
  EXPECT_EQ(form.ScreenArea(), kFull);
}

TEST_F(ScreenMapping, EachModelGroupPlacesTheTabletFrameOverItsActiveArea) {
  Open("R711", kFull, kFull);
  EXPECT_EQ(form.TabletFrame().Bounds(), (PixelRect{337, 450, 703, 690}));
  ASSERT_NE(form.Drawing(), nullptr);
  EXPECT_EQ(form.Drawing()->others.size(), 6u);
  Open("R733", kFull, kFull);
  EXPECT_EQ(form.TabletFrame().Bounds(), (PixelRect{301, 490, 601, 690}));
  // The ring models' drawing is 320 pixels high, centred in 340.
  Open("K90", kFull, kFull);
  EXPECT_EQ(form.TabletFrame().Bounds(), (PixelRect{347, 460, 713, 680}));
  EXPECT_EQ(form.Drawing()->others.size(), 3u);
  // An unknown model: a grey picture, the last drawing's bounds.
  Open("X100", kFull, kFull);
  EXPECT_EQ(form.Drawing(), nullptr);
  EXPECT_EQ(form.TabletFrame().Bounds(), (PixelRect{347, 460, 713, 680}));
  // "K24" without its blank is not the model "K24 ".
  Open("K24", kFull, kFull);
  EXPECT_EQ(form.Drawing(), nullptr);
  Open("K24 ", kFull, kFull);
  EXPECT_EQ(form.Drawing()->others.size(), 6u);
}

TEST(ScreenMappingCreation, BeforeAnyModelTheTabletFrameSitsOverTheR711Drawing) {
  TScreenMappingForm form;
  form.ModelCode = "X100";
  form.FormShow(kOneScreen);
  EXPECT_EQ(form.TabletFrame().Bounds(), (PixelRect{337, 450, 703, 690}));
}

TEST_F(ScreenMapping, TheTabletToggleStepsThroughThePresetsAndSkipsTheOneAlreadyShown) {
  Open("R711", kFull, kFull);
  EXPECT_EQ(form.TabletFrame().Caption(), u"");
  EXPECT_EQ(Toggle(), (MapRect{650, 650, 3500, 3500}));  // full is shown already
  EXPECT_EQ(Toggle(), (MapRect{1024, 1024, 3071, 3071}));
  EXPECT_EQ(Toggle(), (MapRect{0, 158, 4095, 3938}));
  EXPECT_EQ(form.TabletFrame().Caption(), u"16:9");
  EXPECT_EQ(Toggle(), kFull);
  EXPECT_EQ(form.TabletFrame().Caption(), u"");
  EXPECT_EQ(Toggle(), (MapRect{650, 650, 3500, 3500}));
}

TEST_F(ScreenMapping, OnAModelWithoutA16To9AreaTheTabletToggleCyclesThroughThreePresets) {
  Open("R700", kFull, kFull);
  const MapRect expected[] = {{650, 650, 3500, 3500}, {1024, 1024, 3071, 3071}, kFull,
                              {650, 650, 3500, 3500}, {1024, 1024, 3071, 3071}, kFull};
  for (const MapRect& e : expected) {
    EXPECT_EQ(Toggle(), e);
    EXPECT_EQ(form.TabletFrame().Caption(), u"");
  }
}

TEST_F(ScreenMapping, TheModels16To9AreasAndTheirCaption) {
  const std::pair<const char*, MapRect> wide[] = {
      {"R711", {0, 158, 4095, 3938}},  {"R733", {0, 368, 4095, 3728}}, {"R766", {0, 288, 4095, 3808}},
      {"K60", {0, 538, 4095, 3558}},   {"R755", {0, 538, 4095, 3558}}, {"K90", {0, 318, 4095, 3778}},
      {"R788", {0, 593, 4095, 3503}},  {"K24 ", {0, 148, 4095, 3948}}, {"R9270", {0, 148, 4095, 3948}},
  };
  for (const auto& [model, area] : wide) {
    Open(model, kFull, area);
    EXPECT_EQ(form.TabletFrame().Caption(), u"16:9") << model;
    EXPECT_EQ(form.TabletArea(), area) << model;
    Toggle();
    Toggle();
    Toggle();
    EXPECT_EQ(Toggle(), area) << model;  // the fourth preset
  }
  Open("R711", kFull, {0, 148, 4095, 3948});  // another model's 16:9 area
  EXPECT_EQ(form.TabletFrame().Caption(), u"");
  for (const char* none : {"R700", "R790", "R888"}) EXPECT_FALSE(WidePresetFor(none)) << none;
}

TEST_F(ScreenMapping, DoubleClickingTheTabletFrameCoversTheWholeActiveArea) {
  Open("R711", kFull, {0, 158, 4095, 3938});
  form.DoubleClick(500, 570);
  EXPECT_EQ(form.TabletArea(), kFull);
  EXPECT_EQ(form.TabletFrame().Caption(), u"");
  EXPECT_EQ(form.ScreenArea(), kFull);
}

TEST_F(ScreenMapping, PressesFindTheButtonsTheFramesAndTheBackground) {
  Open("R711", kFull, kFull);
  EXPECT_EQ(form.HitAt(960, 30), MapScreenHit::CloseButton);
  EXPECT_EQ(form.HitAt(960, 200), MapScreenHit::ToggleScreen);
  EXPECT_EQ(form.HitAt(780, 570), MapScreenHit::ToggleTablet);
  EXPECT_EQ(form.HitAt(500, 570), MapScreenHit::TabletFrame);
  EXPECT_EQ(form.HitAt(500, 200), MapScreenHit::ScreenFrame);
  EXPECT_EQ(form.MouseDown(30, 700), MapScreenHit::Background);
  form.MouseMove(600, 600);  // a background press drags no frame
  EXPECT_EQ(form.TabletArea(), kFull);
}

}  // namespace
}  // namespace pen
