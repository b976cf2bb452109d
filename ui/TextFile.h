#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "ui/CodePage.h"

namespace pen {

// The text of a language file or name list. A UTF-16 little- or big-endian
// or a UTF-8 byte-order mark selects that encoding; without one the bytes
// are ANSI text in `ansi`. Malformed UTF-8 gives U+FFFD per bad byte; an odd
// last byte of UTF-16 is dropped.
std::u16string DecodeTextFile(std::string_view bytes, const IAnsiCodePage& ansi);

// Lines ended by CR, LF or CR LF; an end at the very end adds no empty line.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// Between the UTF-8 that the rest of the program speaks and UTF-16.
std::string Utf8FromUtf16(std::u16string_view text);
std::u16string Utf16FromUtf8(std::string_view text);

}  // namespace pen
