#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mac/Screens.h"

namespace penmac {

// A fixed desktop, given the way X11 and most desktops describe screens:
// rectangles with the origin at the top left and y downward, the first one
// being the primary screen. Serves the headless program and the tests; the
// desktop shell provides the live screens instead.
class ScreenLayout : public IScreens {
 public:
  struct Screen {
    std::string name;
    Rect topLeftFrame;  // x, y of the top-left corner; y downward
  };

  explicit ScreenLayout(std::vector<Screen> screens);

  std::vector<ScreenInfo> Screens() const override;
  // y flips about the primary screen's height; both spaces have their
  // origin at the primary screen's corner.
  std::optional<Point> ToEventSpace(Point bottomLeft) const override;

  // All screens together in the event space (origin at the primary screen's
  // top-left corner): what an absolute pointing device spans.
  Rect DesktopInEventSpace() const;

  // "1920x1080" or "1920x1080+0+0,1280x1024+1920+0": one WxH+X+Y per screen
  // (the offset may be left out for the first). Nothing on a malformed text.
  static std::optional<ScreenLayout> Parse(std::string_view text);

 private:
  std::vector<Screen> screens_;
};

}  // namespace penmac
