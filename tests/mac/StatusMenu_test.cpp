// The rows of the status menu, with and without a tablet.
#include "mac/StatusMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace penmac {
namespace {

// Each row as one line: text, action, symbol, colour, and whether it can be
// chosen; a separator as "---".
std::vector<std::string> Lines(const std::vector<MenuItemData>& rows) {
  static const char* const kActions[] = {"-",         "draw",      "setupScreens", "setupRotate",
                                         "setupButtons", "setupSave", "about",        "quit"};
  std::vector<std::string> out;
  for (const MenuItemData& r : rows) {
    if (r.separator) {
      out.push_back("---");
      continue;
    }
    out.push_back(r.menuText + " | " + kActions[static_cast<int>(r.menuFunc)] + " | " + r.imageName + " | " +
                  r.imageColor + (r.enabled ? "" : " | disabled"));
  }
  return out;
}

TEST(StatusMenu, WithATabletTheRowsNameItAndOpenEveryWindow) {
  const auto rows = MenuItems(true, "[R711]Pen Tablet");
  EXPECT_EQ(Lines(rows), (std::vector<std::string>{
                             "[R711]Pen Tablet | - | pencil.and.outline | blue",
                             "Draw Panel | draw | square.and.pencil | yellow",
                             "---",
                             "Screens Select | setupScreens | display.2 | yellow",
                             "Tablet Rotate | setupRotate | rotate.left | yellow",
                             "Button Binding | setupButtons | keyboard.onehanded.left | yellow",
                             "Save Config | setupSave | externaldrive.badge.checkmark | yellow",
                             "---",
                             "About | about | info.circle | purple",
                             "Exit Driver! | quit | togglepower | red",
                         }));
  // The tablet's name is the device's own: not a text to translate.
  EXPECT_FALSE(rows[0].translate);
  EXPECT_TRUE(rows[1].translate);
}

TEST(StatusMenu, WithoutATabletTheConfigurationWindowsAndTheSaveCannotBeChosen) {
  EXPECT_EQ(Lines(MenuItems(false, "Tablet Disconnected!")),
            (std::vector<std::string>{
                "Tablet Disconnected! | - | pencil.and.outline | gray",
                "Draw Panel | draw | square.and.pencil | yellow",
                "---",
                "Screens Select | setupScreens | display.2 | gray | disabled",
                "Tablet Rotate | setupRotate | rotate.left | gray | disabled",
                "Button Binding | setupButtons | keyboard.onehanded.left | gray | disabled",
                "Save Config | setupSave | externaldrive.badge.checkmark | gray | disabled",
                "---",
                "About | about | info.circle | purple",
                "Exit Driver! | quit | togglepower | red",
            }));
  EXPECT_TRUE(MenuItems(false, "whatever the model says")[0].translate);
}

}  // namespace
}  // namespace penmac
