#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "keys/WheelWindows.h"
#include "ui/Language.h"

namespace pen::win32 {

// The wheel's faces, drawn with GDI: the dial three times the face's size
// with each function's sector flooded grey, its arc, the icons and the
// name, averaged down to 240 x 240. Never shown: the wheel settings window
// and the notice take their faces, icons and names from here. Drawn again
// whenever the language is (re)loaded.
class TWin32WheelFaces final : public IWheelFaces {
 public:
  static constexpr int kIconSize = 100;

  explicit TWin32WheelFaces(const TLanguage& language);

  int NameFontSize() const override { return fontSize_; }
  std::u16string FunctionName(int function) const override;
  WheelIcon FunctionIcon(int function) const override;
  void ReloadNames() override;

  // Function i's face (i above 7 counts as 7): 240 x 240 words 0x00RRGGBB,
  // rows from the top; empty before the first ReloadNames.
  const std::vector<uint32_t>& Face(int function) const;
  // The dial of the last face drawn (720 x 720), before its averaging.
  const std::vector<uint32_t>& LastDial() const { return dial_; }
  // The icons, 100 x 100, black where they are transparent.
  static std::array<std::vector<uint32_t>, 8> DrawIcons();

 private:
  static size_t Index(int function);
  void Render();

  const TLanguage& language_;
  std::array<std::vector<uint32_t>, 8> icons_;
  std::array<std::vector<uint32_t>, 8> faces_;
  std::array<std::u16string, 8> names_;
  std::vector<uint32_t> dial_;
  int fontSize_ = 36;
};

}  // namespace pen::win32
