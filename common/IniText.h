#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace pen {

// The text of an INI file, read and changed the way the Windows
// private-profile functions do it:
// - lines end in LF or CR LF; blanks around names and values are ignored;
// - section and key names compare without regard to (ASCII) case;
// - only the first section of a name counts, and the first key of a name in it;
// - a value in matching single or double quotes loses the quotes;
// - lines starting with ';' are comments; a UTF-8 byte order mark is skipped.

// The value of `key` in `section`; nothing when the section or key is missing.
// The view points into `text`.
std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key);

// `text` with `key` in `section` set to `value`. Every other byte stays as it
// was: an existing key line is rewritten in place, a new key goes after the
// last entry of its section, a new section goes at the end. New lines take
// the file's own line ending (CR LF for an empty file).
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace pen
