#include "pipeline/win32/Win32ChannelClientPorts.h"

#include "pipeline/SharedBlockLayout.h"

namespace pen::win32 {

namespace {
constexpr char kServiceClass[] = "TPenHostMain";
constexpr char kServiceCaption[] = "70ea8e50-29b4-4832-b9f3-c75409347c2e";
}  // namespace

TWin32ChannelService::TWin32ChannelService()
    : messageA_(RegisterWindowMessageA(tabshare::kMessageAName)),
      messageB_(RegisterWindowMessageA(tabshare::kMessageBName)) {}

uint64_t TWin32ChannelService::FindService() {
  return reinterpret_cast<uintptr_t>(FindWindowA(kServiceClass, kServiceCaption));
}

bool TWin32ChannelService::Register(uint64_t service, uint64_t window, uint32_t process) {
  if (messageA_ == 0) return false;
  const HWND to = reinterpret_cast<HWND>(static_cast<uintptr_t>(service));
  if (!PostMessageA(to, messageA_, static_cast<WPARAM>(window), static_cast<LPARAM>(process))) return false;
  if (flag_) PostMessageA(to, messageB_, static_cast<WPARAM>(window), 0);
  return true;
}

}  // namespace pen::win32
