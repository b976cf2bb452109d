#include "pipeline/win32/Win32ChannelClientPorts.h"

#include <algorithm>

#include "pipeline/SharedBlockLayout.h"

namespace pen::win32 {

namespace {
constexpr char kServiceClass[] = "TPenHostMain";
constexpr char kServiceCaption[] = "70ea8e50-29b4-4832-b9f3-c75409347c2e";
}  // namespace

bool TWin32ClientBlock::Open(SharedBlockView& view) {
  Close();
  mutex_ = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, tabshare::kMutexName);
  mapping_ = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, tabshare::kMappingName);
  if (mutex_ != nullptr && mapping_ != nullptr) {
    view_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0);
  }
  if (view_ == nullptr) {
    Close();
    return false;
  }
  MEMORY_BASIC_INFORMATION info{};
  size_t size = 0;
  if (VirtualQuery(view_, &info, sizeof info) == sizeof info) size = std::min<size_t>(info.RegionSize, tabshare::kBlockSize);
  view.bytes = static_cast<uint8_t*>(view_);
  view.size = size;
  view.existed = true;
  return true;
}

bool TWin32ClientBlock::Lock(uint32_t waitMs) {
  if (mutex_ == nullptr) return false;
  const DWORD r = WaitForSingleObject(mutex_, std::min<DWORD>(waitMs, kLongestLockWaitMs));
  return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

void TWin32ClientBlock::Unlock() {
  if (mutex_ != nullptr) ReleaseMutex(mutex_);
}

void TWin32ClientBlock::Close() {
  if (view_ != nullptr) UnmapViewOfFile(view_);
  if (mapping_ != nullptr) CloseHandle(mapping_);
  if (mutex_ != nullptr) CloseHandle(mutex_);
  view_ = nullptr;
  mapping_ = nullptr;
  mutex_ = nullptr;
}

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
