#pragma once
#include <string>
#include <string_view>

namespace pen::win32 {

// File operations of the Win32 back ends (ANSI names, full paths).

// Replaces a file's whole content: written beside the old file and moved
// over it, so that a failure part way leaves the old file whole.
bool ReplaceFileContents(const std::string& fileName, std::string_view bytes);

// Creates one folder level; true when the folder exists afterwards.
bool MakeFolderLevel(const std::string& folder);

bool IsPlainFile(const std::string& fileName);

}  // namespace pen::win32
