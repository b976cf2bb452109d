#pragma once
#include <windows.h>

#include "pipeline/ChannelClient.h"
#include "pipeline/SharedBlockObjects.h"

namespace pen::win32 {

// The block and its mutex as a client has them: opened by name, never
// created, since they are the service's. Nothing is there while no service
// runs.
class TWin32ClientBlock final : public ISharedBlockObjects {
 public:
  TWin32ClientBlock() = default;
  ~TWin32ClientBlock() override { Close(); }
  TWin32ClientBlock(const TWin32ClientBlock&) = delete;
  TWin32ClientBlock& operator=(const TWin32ClientBlock&) = delete;

  bool Open(SharedBlockView& view) override;
  bool Lock(uint32_t waitMs) override;
  void Unlock() override;
  void Close() override;

 private:
  HANDLE mutex_ = nullptr;
  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
};

// The service's hidden window by its class and caption, and messages A and B.
class TWin32ChannelService final : public IChannelService {
 public:
  TWin32ChannelService();
  uint64_t FindService() override;
  bool Register(uint64_t service, uint64_t window, uint32_t process) override;
  UINT MessageA() const { return messageA_; }
  // Each registration also posts message B, which sets the window's flag.
  void SetFlag(bool flag) { flag_ = flag; }

 private:
  UINT messageA_ = 0;
  UINT messageB_ = 0;
  bool flag_ = false;
};

}  // namespace pen::win32
