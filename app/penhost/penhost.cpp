#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "common/Rounding.h"
#include "app/penhost/HostOptions.h"
#include "app/penhost/PenHostApp.h"

namespace {

std::string Narrow(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<size_t>(n - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Reports are processed here until the tablet's pen interface is first found.
  pen::EnsureExtendedPrecision();
  std::vector<std::string> args;
  int argc = 0;
  if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
    LocalFree(argv);
  }
  pen::HostOptions options;
  std::string error;
  if (!options.Parse(args, error)) {
    // Scripts start the program with switches: tell them on standard error
    // when there is one, and only otherwise ask a person.
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    const std::string line = "penhost: " + error + "\n";
    DWORD written = 0;
    if (err == nullptr || err == INVALID_HANDLE_VALUE ||
        !WriteFile(err, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
      MessageBoxA(nullptr, error.c_str(), "PenHost", MB_ICONERROR | MB_OK);
    }
    return 2;
  }
  return pen::win32::RunPenHost(options);
}
