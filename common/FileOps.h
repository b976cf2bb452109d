#pragma once
#include <string>
#include <string_view>

namespace pen {

// File operations of the portable back ends, with the standard library.

// Replaces a file's whole content. The bytes go to a file beside the old one
// and replace it by a rename, so a failure at any point (full disk,
// unwritable folder) leaves the old file whole instead of truncated.
bool ReplaceFileContents(const std::string& fileName, std::string_view bytes);

// Creates one folder level; true when the folder exists afterwards.
bool MakeFolderLevel(const std::string& folder);

}  // namespace pen
