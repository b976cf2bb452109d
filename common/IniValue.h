#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace pen {

// The one reading rule for integer values of INI files, shared by every
// back end so that a file reads the same wherever it is opened.
//
// A number is an optional sign followed either by decimal digits or by "0x"
// and one to eight hexadecimal digits; blanks around it are ignored.
// Anything else (an empty value, "12abc", "1.5", a decimal beyond the 32-bit
// range) is not a number: the caller uses the key's default.
std::optional<int32_t> ParseIniInteger(std::string_view text);

}  // namespace pen
