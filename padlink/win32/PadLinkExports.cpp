// The device-memory library's four calls, kept in "padlink_vc.bin" beside
// this DLL, for running the service without the vendor's library.
#include <windows.h>

#include <cstdint>
#include <string>

#include "padlink/PadLinkFile.h"

namespace {

std::string StorePath() {
  HMODULE self = nullptr;
  char path[MAX_PATH] = {};
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&StorePath), &self) ||
      GetModuleFileNameA(self, path, MAX_PATH) == 0) {
    return "padlink_vc.bin";
  }
  std::string dir(path);
  const size_t slash = dir.find_last_of("\\/");
  dir.resize(slash == std::string::npos ? 0 : slash + 1);
  return dir + "padlink_vc.bin";
}

pen::TPadLinkFile& Store() {
  static pen::TPadLinkFile store(StorePath());
  return store;
}

}  // namespace

// Exported by the .def file only, so that the 32-bit build shows the plain
// names and not also the decorated ones.
extern "C" {

int32_t __stdcall DetectDevice(int32_t) { return Store().Detect() ? 1 : 0; }

uint8_t __stdcall ReadBuffer(uint32_t address, uint8_t* buffer, uint32_t length, uint32_t) {
  return Store().Read(address, buffer, length) ? 1 : 0;
}

uint8_t __stdcall WriteBuffer(uint32_t address, uint8_t* buffer, uint32_t length, uint32_t) {
  return Store().Write(address, buffer, length) ? 1 : 0;
}

uint8_t __stdcall EraseBlock(uint32_t firstBlock, uint32_t lastBlock) {
  return Store().Erase(firstBlock, lastBlock) ? 1 : 0;
}

}  // extern "C"
