#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace pen::win32 {

// The window texts are UTF-16 both in the model and in the wide calls.
inline std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string FromWide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

// File names are ANSI, as the program's folder name comes from the ANSI calls.
inline std::wstring WidePath(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), out.data(), n);
  return out;
}

// And back, for the texts the models keep in ANSI (key names, file names).
inline std::string Ansi(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  }
  return out;
}

}  // namespace pen::win32
