// inkprobe-run [showNotice] [path of inkprobe.dll]: calls FindWintabInUsed
// for installer scripts that cannot call a DLL. Prints the result and exits
// with it; exit code 2 when the DLL or its export cannot be found.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using FindWintabInUsedFn = int32_t(WINAPI*)(int32_t);

std::string DllBesideThisProgram() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, length);
  const size_t cut = dir.find_last_of("\\/");
  dir = cut == std::string::npos ? std::string() : dir.substr(0, cut + 1);
  return dir + "inkprobe.dll";
}

}  // namespace

int main(int argc, char** argv) {
  const int32_t showNotice = argc > 1 ? static_cast<int32_t>(std::strtol(argv[1], nullptr, 10)) : 0;
  const std::string dll = argc > 2 ? std::string(argv[2]) : DllBesideThisProgram();
  HMODULE module = LoadLibraryA(dll.c_str());
  if (!module) {
    std::fprintf(stderr, "inkprobe-run: cannot load %s (error %lu)\n", dll.c_str(), GetLastError());
    return 2;
  }
  FARPROC proc = GetProcAddress(module, "FindWintabInUsed");
  if (!proc) {
    std::fprintf(stderr, "inkprobe-run: %s has no FindWintabInUsed export\n", dll.c_str());
    return 2;
  }
  const auto find = reinterpret_cast<FindWintabInUsedFn>(reinterpret_cast<void (*)()>(proc));
  const int32_t result = find(showNotice);
  std::printf("%ld\n", static_cast<long>(result));
  return result;
}
