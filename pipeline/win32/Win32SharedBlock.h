#pragma once
#include <windows.h>

#include "pipeline/SharedBlockObjects.h"

namespace pen::win32 {

// The page-file-backed mapping and the mutex, by their fixed names, shared
// with every process that opens them by the same names. The service creates
// them; a client only opens what a running service made, since the block is
// the service's and nothing is there while none runs.
class TWin32SharedBlock : public ISharedBlockObjects {
 public:
  enum class Access { Create, OpenExisting };
  explicit TWin32SharedBlock(Access access = Access::Create) : access_(access) {}
  ~TWin32SharedBlock() override { Close(); }
  TWin32SharedBlock(const TWin32SharedBlock&) = delete;
  TWin32SharedBlock& operator=(const TWin32SharedBlock&) = delete;

  bool Open(SharedBlockView& view) override;
  bool Lock(uint32_t waitMs) override;
  void Unlock() override;
  void Close() override;

 private:
  Access access_;
  HANDLE mutex_ = nullptr;
  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
};

// The block as a client has it.
class TWin32ClientBlock final : public TWin32SharedBlock {
 public:
  TWin32ClientBlock() : TWin32SharedBlock(Access::OpenExisting) {}
};

}  // namespace pen::win32
