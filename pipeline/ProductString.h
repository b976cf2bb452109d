#pragma once
#include <string>
#include <string_view>

namespace pen {

// The model code when nothing better is known.
inline constexpr const char* kDefaultModelCode = "R700";

// A product string shorter than this is not yet readable and is read again.
inline constexpr size_t kMinProductStringLength = 5;

// The model code a product string names: the text between the first "[" and
// the first "]" when that "]" comes after it, or, without any "[", the first
// word when the string starts like the R-series codes ("R711 Pen Tablet").
// Otherwise "R700".
std::string ModelCodeFromProduct(std::string_view product);

}  // namespace pen
