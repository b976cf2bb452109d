#pragma once
#include <QColor>
#include <QIcon>
#include <string_view>

namespace penmac::qt {

// The menu's symbols, painted by us: a simple glyph per symbol name in the
// row's colour ("blue", "yellow", "purple", "red", "gray"). An unknown name
// gives a filled dot, so a row never goes without its mark.
QColor SymbolColor(std::string_view colorName);
QIcon SymbolIcon(std::string_view imageName, std::string_view colorName);

}  // namespace penmac::qt
