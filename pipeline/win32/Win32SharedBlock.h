#pragma once
#include <windows.h>

#include "pipeline/SharedBlockObjects.h"

namespace pen::win32 {

// The page-file-backed mapping and the mutex, by their fixed names, shared
// with every process that opens them by the same names.
class TWin32SharedBlock final : public ISharedBlockObjects {
 public:
  TWin32SharedBlock() = default;
  ~TWin32SharedBlock() override { Close(); }
  TWin32SharedBlock(const TWin32SharedBlock&) = delete;
  TWin32SharedBlock& operator=(const TWin32SharedBlock&) = delete;

  bool Open(SharedBlockView& view) override;
  bool Lock(uint32_t waitMs) override;
  void Unlock() override;
  void Close() override;

 private:
  HANDLE mutex_ = nullptr;
  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
};

}  // namespace pen::win32
