#include "mac/SetupScreens.h"

#include <algorithm>

namespace penmac {

namespace {
constexpr const char* kMapTo = "Map Tablet to";
constexpr const char* kWholeDesktopItem = "Map Tablet to Multi-Screen";
constexpr const char* kWholeDesktopName = "Multi Screens";
constexpr const char* kInitialName = "Multi-Screen";
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

void SetupScreens::ScreensChanged() {
  const std::vector<ScreenInfo> all = screens_.Screens();
  const bool wholeDesktop = curScreen == kInitialName || curScreen == kWholeDesktopName;
  if (!wholeDesktop) {
    const auto it = std::find_if(all.begin(), all.end(), [this](const ScreenInfo& s) { return s.name == curScreen; });
    if (it != all.end()) {
      curRect = it->frame;
      return;
    }
    curScreen = kWholeDesktopName;
  }
  curRect = UnionOfFrames(all);
}

}  // namespace penmac
