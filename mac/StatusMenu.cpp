#include "mac/StatusMenu.h"

#include "mac/USBDelegate.h"

namespace penmac {

std::vector<MenuItemData> MenuItems(bool PlugIn, std::string_view deviceName) {
  MenuItemData first = PlugIn ? MenuItemData{"pencil.and.outline", "blue", std::string(deviceName)}
                              : MenuItemData{"pencil.and.outline", "gray", kTabletDisconnected};
  first.translate = !PlugIn;
  MenuItemData separator;
  separator.separator = true;
  std::vector<MenuItemData> rows{
      first,
      {"square.and.pencil", "yellow", "Draw Panel", MenuAction::draw},
      separator,
      {"display.2", "yellow", "Screens Select", MenuAction::setupScreens},
      {"rotate.left", "yellow", "Tablet Rotate", MenuAction::setupRotate},
      {"keyboard.onehanded.left", "yellow", "Button Binding", MenuAction::setupButtons},
      {"externaldrive.badge.checkmark", "yellow", kSaveEntry, MenuAction::setupSave},
      separator,
      {"info.circle", "purple", kAboutEntry, MenuAction::about},
      {"togglepower", "red", "Exit Driver!", MenuAction::quit},
  };
  if (!PlugIn) {
    for (MenuItemData& row : rows) {
      switch (row.menuFunc) {
        case MenuAction::setupScreens:
        case MenuAction::setupRotate:
        case MenuAction::setupButtons:
        case MenuAction::setupSave:
          row.enabled = false;
          row.imageColor = "gray";
          break;
        default: break;
      }
    }
  }
  return rows;
}

}  // namespace penmac
