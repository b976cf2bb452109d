#include "pipeline/win32/Win32ChannelClientPorts.h"

#include "pipeline/SharedBlockLayout.h"

namespace pen::win32 {

namespace {
constexpr char kServiceClass[] = "TPenHostMain";
constexpr char kServiceCaption[] = "70ea8e50-29b4-4832-b9f3-c75409347c2e";
}  // namespace

TWin32ChannelService::TWin32ChannelService() : messageA_(RegisterWindowMessageA(tabshare::kMessageAName)) {}

uint64_t TWin32ChannelService::FindService() {
  return reinterpret_cast<uintptr_t>(FindWindowA(kServiceClass, kServiceCaption));
}

bool TWin32ChannelService::Register(uint64_t service, uint64_t window, uint32_t process) {
  if (messageA_ == 0) return false;
  return PostMessageA(reinterpret_cast<HWND>(static_cast<uintptr_t>(service)), messageA_,
                      static_cast<WPARAM>(window), static_cast<LPARAM>(process)) != FALSE;
}

}  // namespace pen::win32
