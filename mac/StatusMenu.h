#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace penmac {

// What a row of the status menu does when chosen.
enum class MenuAction { None, draw, setupScreens, setupRotate, setupButtons, setupSave, about, quit };

// One row of the status menu: a symbol in a colour and a text, or a
// separator. The texts are the English source texts; the shell translates
// them (the tablet's own name excepted).
struct MenuItemData {
  std::string imageName;   // symbol name, drawn by the shell
  std::string imageColor;  // "blue", "yellow", "purple", "red" or "gray"
  std::string menuText;
  MenuAction menuFunc = MenuAction::None;
  bool separator = false;
  bool enabled = true;
  bool translate = true;  // false: a name from the device, shown as it is

  bool operator==(const MenuItemData&) const = default;
};

inline constexpr const char* kSaveEntry = "Save Config";
inline constexpr const char* kAboutEntry = "About";
// The status button's symbol without and with a tablet.
inline constexpr const char* kStatusSymbolDisconnected = "rectangle.and.pencil.and.ellipsis";
inline constexpr const char* kStatusSymbolConnected = "pencil.and.outline";

// The rows of the status menu, top to bottom. With a tablet the first row
// names it. Without one it says so, and the windows that edit a tablet's
// configuration are shown but cannot be chosen: what they changed would be
// replaced by the tablet's own files at its plug-in, and a save would write
// files named after no tablet. The test canvas stays: a mouse draws on it
// too. Both lists end with the about entry and "Exit Driver!".
std::vector<MenuItemData> MenuItems(bool PlugIn, std::string_view deviceName);

}  // namespace penmac
