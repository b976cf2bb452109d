#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "pipeline/PadLink.h"

namespace pen::win32 {

// The vendor's device-memory library, loaded by name at run time from the
// usual DLL search path (the program's own folder first). When the DLL or any
// of its four calls is missing the library is "not available": every call
// then fails, and the host hands the device link no library at all, so that
// device memory counts as never reachable.
class TPadLinkLibrary : public IPadLink {
 public:
  static constexpr const char* kDefaultName = "padlink_vc.dll";

  explicit TPadLinkLibrary(const char* dllName = kDefaultName);
  ~TPadLinkLibrary() override;
  TPadLinkLibrary(const TPadLinkLibrary&) = delete;
  TPadLinkLibrary& operator=(const TPadLinkLibrary&) = delete;

  bool Available() const { return available_; }
  // "available", or why not (for diagnostics).
  const std::string& Status() const { return status_; }
  // This library when available, else null: what the device link takes.
  IPadLink* IfAvailable() { return available_ ? this : nullptr; }

  int32_t DetectDevice(int32_t zero) override;
  uint8_t ReadBuffer(uint32_t address, uint8_t* buffer, uint32_t length, uint32_t zero) override;
  uint8_t WriteBuffer(uint32_t address, const uint8_t* buffer, uint32_t length, uint32_t zero) override;
  uint8_t EraseBlock(uint32_t first, uint32_t last) override;

 private:
  using DetectFn = int32_t(__stdcall*)(int32_t);
  using ReadFn = uint8_t(__stdcall*)(uint32_t, uint8_t*, uint32_t, uint32_t);
  using WriteFn = uint8_t(__stdcall*)(uint32_t, uint8_t*, uint32_t, uint32_t);
  using EraseFn = uint8_t(__stdcall*)(uint32_t, uint32_t);

  HMODULE module_ = nullptr;
  DetectFn detect_ = nullptr;
  ReadFn read_ = nullptr;
  WriteFn write_ = nullptr;
  EraseFn erase_ = nullptr;
  bool available_ = false;
  std::string status_;
};

}  // namespace pen::win32
