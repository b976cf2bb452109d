#pragma once
#include <cstdint>
#include <string>

#include "service/SettingsStore.h"
#include "ui/DisplayMonitor.h"
#include "ui/PixelRect.h"
#include "ui/SizeFrame.h"
#include "ui/TabletDrawings.h"

namespace pen {

// What a press in the screen mapping window lands on.
enum class MapScreenHit : uint8_t { Background, CloseButton, ToggleScreen, ToggleTablet, ScreenFrame, TabletFrame };

// The screen mapping window: the desktop picture with the screen area's
// frame above, the tablet drawing with the tablet area's frame below. The
// caller sets both areas, shows it modally and reads both back.
class TScreenMappingForm {
 public:
  static constexpr int kWidth = 992;
  static constexpr int kHeight = 756;
  static constexpr PixelRect kCloseButton{943, 8, 984, 49};
  static constexpr PixelRect kToggleScreen{944, 184, 976, 216};
  static constexpr PixelRect kTabletFace{241, 400, 751, 740};
  static constexpr PixelRect kToggleTablet{767, 554, 799, 586};
  static constexpr int kActiveInset = 10;
  static constexpr std::u16string_view kWideCaption = u"16:9";

  TScreenMappingForm();

  // Set by the settings window before showing.
  std::string ModelCode;
  // The tablet half shows only when "Use Windows Ink" is unchecked.
  bool ShowTabletArea = true;
  void SetScreenArea(const MapRect& area) { monitor_.Shape().SetArea(area); }
  void SetTabletArea(const MapRect& area) { tabletArea_ = area; }

  // Read back after the window closed.
  MapRect ScreenArea() { return monitor_.Shape().Area(); }
  MapRect TabletArea();

  void FormShow(const DesktopGeometry& desktop);

  void btnToggleScreenClick() { monitor_.Shape().Step(); }
  void BtnToggleTabletClick();
  int PresetIndex() const { return presetIndex_; }

  // Pointer events in client pixels.
  MapScreenHit HitAt(int x, int y) const;
  MapScreenHit MouseDown(int x, int y);
  void MouseMove(int x, int y);
  void MouseUp();
  void DoubleClick(int x, int y);
  FrameCursor CursorAt(int x, int y) const;

  TDisplayMonitor& Monitor() { return monitor_; }
  const TDisplayMonitor& Monitor() const { return monitor_; }
  TSizeFrame& TabletFrame() { return tabletFrame_; }
  const TSizeFrame& TabletFrame() const { return tabletFrame_; }
  bool TabletShown() const { return tabletShown_; }
  // The model drawn in the tablet picture; none leaves the picture grey.
  const TabletDrawing* Drawing() const { return drawing_; }
  // A shape of the drawing in client pixels.
  static PixelRect ShapePixels(const TabletDrawing& drawing, const TabletShape& shape);

 private:
  static PixelRect ActiveBoundsOf(const TabletDrawing& drawing);
  void DrawModel();

  TDisplayMonitor monitor_;
  TSizeFrame tabletFrame_;
  MapRect tabletArea_{};
  int presetIndex_ = 0;
  const TabletDrawing* drawing_ = nullptr;
  PixelRect activeBounds_{};
  bool tabletShown_ = false;
  TSizeFrame* dragging_ = nullptr;
};

}  // namespace pen
