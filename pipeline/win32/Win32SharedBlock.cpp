#include "pipeline/win32/Win32SharedBlock.h"

#include <algorithm>

#include "pipeline/SharedBlockLayout.h"

namespace pen::win32 {

bool TWin32SharedBlock::Open(SharedBlockView& view) {
  Close();
  const bool create = access_ == Access::Create;
  mutex_ = create ? CreateMutexA(nullptr, FALSE, tabshare::kMutexName)
                  : OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, tabshare::kMutexName);
  if (mutex_ == nullptr) return false;
  mapping_ = create ? CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                         static_cast<DWORD>(tabshare::kBlockSize), tabshare::kMappingName)
                    : OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, tabshare::kMappingName);
  const bool existed = !create || (mapping_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS);
  // A client maps whatever the service made and reads no further than the
  // block's size.
  if (mapping_ != nullptr) view_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, create ? tabshare::kBlockSize : 0);
  if (view_ == nullptr) {
    // Also what Windows answers when another program made the mapping
    // smaller than the block.
    Close();
    return false;
  }
  size_t size = tabshare::kBlockSize;
  MEMORY_BASIC_INFORMATION info{};
  if (VirtualQuery(view_, &info, sizeof info) == sizeof info && info.RegionSize < size) size = info.RegionSize;
  view.bytes = static_cast<uint8_t*>(view_);
  view.size = size;
  view.existed = existed;
  return true;
}

bool TWin32SharedBlock::Lock(uint32_t waitMs) {
  if (mutex_ == nullptr) return false;
  // Bounded whatever the caller asks (see kLongestLockWaitMs). Abandoned: a
  // client ended while holding it; it is ours now.
  const DWORD r = WaitForSingleObject(mutex_, std::min<DWORD>(waitMs, kLongestLockWaitMs));
  return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

void TWin32SharedBlock::Unlock() {
  if (mutex_ != nullptr) ReleaseMutex(mutex_);
}

void TWin32SharedBlock::Close() {
  if (view_ != nullptr) UnmapViewOfFile(view_);
  if (mapping_ != nullptr) CloseHandle(mapping_);
  if (mutex_ != nullptr) CloseHandle(mutex_);
  view_ = nullptr;
  mapping_ = nullptr;
  mutex_ = nullptr;
}

}  // namespace pen::win32
