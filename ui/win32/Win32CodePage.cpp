#include "ui/win32/Win32CodePage.h"

#include <windows.h>

#include <climits>

namespace pen::win32 {

std::u16string TWin32CodePage::Decode(std::string_view bytes) const {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(codePage_, 0, bytes.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage_, 0, bytes.data(), size, wide.data(), n);
  return std::u16string(wide.begin(), wide.end());
}

}  // namespace pen::win32
