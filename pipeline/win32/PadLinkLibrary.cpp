#include "pipeline/win32/PadLinkLibrary.h"

#include <vector>

namespace pen::win32 {

namespace {

template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
  // Through the generic function pointer type, which converts to any other
  // without a cast-function-type warning.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

TPadLinkLibrary::TPadLinkLibrary(const char* dllName) {
  module_ = LoadLibraryA(dllName);
  if (module_ == nullptr) {
    status_ = std::string("not available: ") + dllName + " not found";
    return;
  }
  detect_ = Lookup<DetectFn>(module_, "DetectDevice");
  read_ = Lookup<ReadFn>(module_, "ReadBuffer");
  write_ = Lookup<WriteFn>(module_, "WriteBuffer");
  erase_ = Lookup<EraseFn>(module_, "EraseBlock");
  available_ = detect_ && read_ && write_ && erase_;
  status_ = available_ ? "available" : std::string("not available: ") + dllName + " lacks a call";
}

TPadLinkLibrary::~TPadLinkLibrary() {
  if (module_) FreeLibrary(module_);
}

int32_t TPadLinkLibrary::DetectDevice(int32_t zero) { return available_ ? detect_(zero) : 0; }

uint8_t TPadLinkLibrary::ReadBuffer(uint32_t address, uint8_t* buffer, uint32_t length, uint32_t zero) {
  return available_ ? read_(address, buffer, length, zero) : 0;
}

uint8_t TPadLinkLibrary::WriteBuffer(uint32_t address, const uint8_t* buffer, uint32_t length, uint32_t zero) {
  if (!available_ || buffer == nullptr) return 0;
  // The library's parameter is not const; give it a copy it may touch.
  std::vector<uint8_t> copy(buffer, buffer + length);
  return write_(address, copy.data(), length, zero);
}

uint8_t TPadLinkLibrary::EraseBlock(uint32_t first, uint32_t last) { return available_ ? erase_(first, last) : 0; }

}  // namespace pen::win32
