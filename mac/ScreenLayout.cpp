#include "mac/ScreenLayout.h"

#include <charconv>
#include <utility>

namespace penmac {

namespace {

// An unsigned number (no sign) or, where signed is allowed, one with a
// leading "+" or "-".
bool TakeNumber(std::string_view& text, double& out, bool signedNumber) {
  bool negative = false;
  if (signedNumber && !text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  long long v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end == text.data() || v < 0 || v > 1000000) return false;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  out = negative ? -static_cast<double>(v) : static_cast<double>(v);
  return true;
}

}  // namespace

ScreenLayout::ScreenLayout(std::vector<Screen> screens) : screens_(std::move(screens)) {}

std::vector<ScreenInfo> ScreenLayout::Screens() const {
  std::vector<ScreenInfo> out;
  if (screens_.empty()) return out;
  const Rect& primary = screens_.front().topLeftFrame;
  for (const Screen& s : screens_) {
    const Rect& f = s.topLeftFrame;
    const double bottom = primary.size.height - (f.origin.y + f.size.height - primary.origin.y);
    out.push_back(ScreenInfo{s.name, Rect{{f.origin.x - primary.origin.x, bottom}, f.size}});
  }
  return out;
}

std::optional<Point> ScreenLayout::ToEventSpace(Point bottomLeft) const {
  if (screens_.empty()) return std::nullopt;
  return Point{bottomLeft.x, screens_.front().topLeftFrame.size.height - bottomLeft.y};
}

Rect ScreenLayout::DesktopInEventSpace() const {
  if (screens_.empty()) return {};
  const Point primary = screens_.front().topLeftFrame.origin;
  Rect all = screens_.front().topLeftFrame;
  for (const Screen& s : screens_) all = all.Union(s.topLeftFrame);
  all.origin.x -= primary.x;
  all.origin.y -= primary.y;
  return all;
}

std::optional<ScreenLayout> ScreenLayout::Parse(std::string_view text) {
  std::vector<Screen> screens;
  while (true) {
    Rect r;
    if (!TakeNumber(text, r.size.width, false) || text.empty() || (text[0] != 'x' && text[0] != 'X')) {
      return std::nullopt;
    }
    text.remove_prefix(1);
    if (!TakeNumber(text, r.size.height, false) || r.size.width <= 0 || r.size.height <= 0) return std::nullopt;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
      if (!TakeNumber(text, r.origin.x, true) || !TakeNumber(text, r.origin.y, true)) return std::nullopt;
    } else if (!screens.empty()) {
      return std::nullopt;  // only the first screen may leave its place out
    }
    screens.push_back(Screen{"Screen " + std::to_string(screens.size() + 1), r});
    if (text.empty()) break;
    if (text[0] != ',') return std::nullopt;
    text.remove_prefix(1);
  }
  return ScreenLayout(std::move(screens));
}

}  // namespace penmac
