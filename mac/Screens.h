#pragma once
#include <optional>
#include <string>
#include <vector>

#include "mac/Geometry.h"

namespace penmac {

struct ScreenInfo {
  std::string name;  // localized name, for the screen choice
  Rect frame;        // bottom-left-origin space, y upward, in points
};

// The desktop's screens and the window system's own conversion of a pointer
// location from the bottom-left-origin space (y upward, origin at the
// primary screen's bottom-left corner) into the space events are posted in
// (y downward, origin at the primary screen's top-left corner).
class IScreens {
 public:
  virtual ~IScreens() = default;
  // In the order the system lists them; the primary screen first.
  virtual std::vector<ScreenInfo> Screens() const = 0;
  // Nothing when the conversion is not available.
  virtual std::optional<Point> ToEventSpace(Point bottomLeft) const = 0;
};

// The union of every screen's frame, starting from the empty rectangle at
// the origin (which therefore always lies inside it).
inline Rect UnionOfFrames(const std::vector<ScreenInfo>& screens) {
  Rect all;
  for (const ScreenInfo& s : screens) all = all.Union(s.frame);
  return all;
}

}  // namespace penmac
