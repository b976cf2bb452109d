#pragma once
#include <windows.h>

#include "pipeline/ChannelTimer.h"

namespace pen::win32 {

// A window timer on a message-only window of the creating thread. Calls
// from other threads are posted to that thread, which owns the timer.
class TWin32ChannelTimer final : public IChannelTimer {
 public:
  TWin32ChannelTimer();
  ~TWin32ChannelTimer() override;
  TWin32ChannelTimer(const TWin32ChannelTimer&) = delete;
  TWin32ChannelTimer& operator=(const TWin32ChannelTimer&) = delete;

  void SetHandler(Event<> onTick) override { onTick_ = onTick; }
  void Start(uint32_t ms) override;
  void Stop() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND window_ = nullptr;
  DWORD thread_ = 0;
  Event<> onTick_;
};

}  // namespace pen::win32
