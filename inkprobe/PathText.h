#pragma once
#include <string>
#include <string_view>

namespace pen {

// Text helpers for ANSI paths. Only ASCII letters change case: the trail
// bytes of double-byte code pages (936 among them) must pass untouched.
std::string AsciiLower(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// The part after the last '\', '/' or ':'; the whole text when there is none.
std::string_view FileNameOf(std::string_view path);

}  // namespace pen
