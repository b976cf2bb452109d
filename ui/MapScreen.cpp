#include "ui/MapScreen.h"

namespace pen {

namespace {

constexpr MapRect kFull{0, 0, TSizeFrame::kUnitMax, TSizeFrame::kUnitMax};
// The monitor picture's place: the width between the side margins, down to
// the tablet picture or, without it, to the window's foot.
constexpr int kMonitorLeft = 60, kMonitorRight = 932, kMonitorTop = 8;
// Every drawing is centred as if it were this wide.
constexpr int kDrawingWidth = 510;

}  // namespace

TScreenMappingForm::TScreenMappingForm() {
  // Until a model is known the frame sits over the most common drawing.
  activeBounds_ = ActiveBoundsOf(*DrawingFor("R711"));
}

PixelRect TScreenMappingForm::ShapePixels(const TabletDrawing& drawing, const TabletShape& s) {
  const int height = 2 * drawing.outline.bottom;
  const int x = kTabletFace.left + (kTabletFace.Width() - kDrawingWidth) / 2;
  const int y = kTabletFace.top + (kTabletFace.Height() - height) / 2;
  return {x + 2 * s.left, y + 2 * s.top, x + 2 * s.right, y + 2 * s.bottom};
}

PixelRect TScreenMappingForm::ActiveBoundsOf(const TabletDrawing& drawing) {
  const PixelRect active = ShapePixels(drawing, drawing.activeArea);
  return {active.left + kActiveInset, active.top + kActiveInset, active.right - kActiveInset,
          active.bottom - kActiveInset};
}

void TScreenMappingForm::DrawModel() {
  drawing_ = DrawingFor(ModelCode);
  // A model not in the table keeps the last drawing's bounds.
  if (drawing_) activeBounds_ = ActiveBoundsOf(*drawing_);
}

void TScreenMappingForm::FormShow(const DesktopGeometry& desktop) {
  presetIndex_ = 0;
  tabletShown_ = ShowTabletArea;
  dragging_ = nullptr;
  if (tabletShown_) {
    DrawModel();
    tabletFrame_.SetBounds(activeBounds_);
    const auto wide = WidePresetFor(ModelCode);
    tabletFrame_.SetCaption(wide && *wide == tabletArea_ ? std::u16string(kWideCaption) : std::u16string());
    tabletFrame_.SetArea(tabletArea_);
    monitor_.SetControlRect({kMonitorLeft, kMonitorTop, kMonitorRight, kTabletFace.top});
  } else {
    monitor_.SetControlRect({kMonitorLeft, kMonitorTop, kMonitorRight, kHeight - 16 + kMonitorTop});
  }
  monitor_.Refresh(desktop);
}

MapRect TScreenMappingForm::TabletArea() {
  if (tabletShown_) tabletArea_ = tabletFrame_.Area();
  return tabletArea_;
}

void TScreenMappingForm::BtnToggleTabletClick() {
  const MapRect current = tabletFrame_.Area();
  const auto wide = WidePresetFor(ModelCode);
  MapRect chosen = current;
  // At most one round: presets 0, 1 and 2 differ from each other, so one of
  // them differs from the current area.
  for (int tries = 0; tries < 4 && chosen == current; ++tries) {
    switch (presetIndex_) {
      case 0: chosen = kFull; break;
      case 1: chosen = {650, 650, 3500, 3500}; break;
      case 2: chosen = {1024, 1024, 3071, 3071}; break;
      default: chosen = wide ? *wide : current; break;
    }
    tabletFrame_.SetCaption(presetIndex_ == 3 ? std::u16string(kWideCaption) : std::u16string());
    presetIndex_ = (presetIndex_ + 1) % 4;
  }
  tabletFrame_.SetArea(chosen);
  tabletArea_ = chosen;
}

MapScreenHit TScreenMappingForm::HitAt(int x, int y) const {
  if (kCloseButton.Contains(x, y)) return MapScreenHit::CloseButton;
  if (kToggleScreen.Contains(x, y)) return MapScreenHit::ToggleScreen;
  if (tabletShown_ && kToggleTablet.Contains(x, y)) return MapScreenHit::ToggleTablet;
  if (tabletShown_ && tabletFrame_.Contains(x, y)) return MapScreenHit::TabletFrame;
  if (monitor_.Shape().Contains(x, y)) return MapScreenHit::ScreenFrame;
  return MapScreenHit::Background;
}

MapScreenHit TScreenMappingForm::MouseDown(int x, int y) {
  const MapScreenHit hit = HitAt(x, y);
  if (hit == MapScreenHit::ScreenFrame) dragging_ = &monitor_.Shape();
  if (hit == MapScreenHit::TabletFrame) dragging_ = &tabletFrame_;
  if (dragging_) dragging_->MouseDown(x, y);
  return hit;
}

void TScreenMappingForm::MouseMove(int x, int y) {
  if (dragging_) return dragging_->MouseDrag(x, y);
  if (tabletShown_) tabletFrame_.MouseHover(x, y);
  monitor_.Shape().MouseHover(x, y);
}

void TScreenMappingForm::MouseUp() {
  if (dragging_) dragging_->MouseUp();
  dragging_ = nullptr;
}

void TScreenMappingForm::DoubleClick(int x, int y) {
  MouseUp();
  switch (HitAt(x, y)) {
    case MapScreenHit::ScreenFrame: btnToggleScreenClick(); break;
    case MapScreenHit::TabletFrame:
      tabletFrame_.SetCaption({});
      tabletFrame_.SetArea(kFull);
      tabletArea_ = kFull;
      break;
    default: break;
  }
}

FrameCursor TScreenMappingForm::CursorAt(int x, int y) const {
  if (dragging_) return TSizeFrame::CursorOf(dragging_->Zone());
  switch (HitAt(x, y)) {
    case MapScreenHit::ScreenFrame: return TSizeFrame::CursorOf(monitor_.Shape().ZoneAt(x, y));
    case MapScreenHit::TabletFrame: return TSizeFrame::CursorOf(tabletFrame_.ZoneAt(x, y));
    default: return FrameCursor::Arrow;
  }
}

}  // namespace pen
