#include "mac/SetupScreens.h"

namespace penmac {

namespace {
constexpr const char* kMapTo = "Map Tablet to";
constexpr const char* kWholeDesktopItem = "Map Tablet to Multi-Screen";
constexpr const char* kWholeDesktopName = "Multi Screens";
}  // namespace

void SetupScreens::OnAppear() {
  for (const ScreenInfo& s : screens_.Screens()) curRect = curRect.Union(s.frame);
}

std::string SetupScreens::MenuLabel() const { return std::string(kMapTo) + " " + curScreen; }

std::vector<std::string> SetupScreens::ItemLabels() const {
  std::vector<std::string> items{kWholeDesktopItem};
  for (const ScreenInfo& s : screens_.Screens()) items.push_back(std::string(kMapTo) + " " + s.name);
  return items;
}

void SetupScreens::Choose(size_t item) {
  const std::vector<ScreenInfo> all = screens_.Screens();
  if (item == 0) {
    curScreen = kWholeDesktopName;
    curRect = UnionOfFrames(all);
  } else if (item - 1 < all.size()) {
    curScreen = all[item - 1].name;
    curRect = all[item - 1].frame;
  }
}

}  // namespace penmac
