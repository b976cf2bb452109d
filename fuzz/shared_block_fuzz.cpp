// A shared block as any other program may have left it: the service starts
// on it (restoring the client table, reading the header), then publishes,
// re-targets and shuts down. Nothing may read or write outside the block.
// Input: the block's bytes (1744; a shorter input is a block made smaller),
// then one byte per step.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "pipeline/MapFile.h"
#include "support/FakeChannelPorts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pen;
  using namespace pen::test;
  FakeSharedBlockObjects objects;
  const size_t blockSize = size < tabshare::kBlockSize ? size : tabshare::kBlockSize;
  // Exactly the block: the sanitizer sees any access past its end.
  objects.bytes.assign(data, data + blockSize);
  objects.existed = true;
  FakeDesktopWindows windows;
  for (uint32_t w = 1; w <= 4; ++w) windows.AddWindow(w * 0x100, 100 * w);
  FakeChannelTimer timer;
  FakePerformanceCounter counter;
  CountingBeeps beeper;
  RecordedMouse mouse;
  TMapFile channel(MapFilePorts{objects, windows, timer, counter, beeper, mouse, size & 1 ? 5 : 10});
  if (channel.Clients().Count() > TClientTable::kUsable) std::abort();

  for (size_t i = blockSize; i < size; ++i) {
    const uint8_t step = data[i];
    const uintptr_t window = ((step >> 4) & 3u) * 0x100 + 0x100;
    PenPacket p;
    p.SetStatus(static_cast<uint8_t>(0x80 | (step & 0x47)));
    p.SetX(static_cast<uint16_t>(step * 257u));
    switch (step & 7) {
      case 0: channel.HandleChannelMessage(channel.MessageA(), window, step & 8 ? 0 : windows.ProcessOf(window)); break;
      case 1: channel.HandleChannelMessage(channel.MessageB(), window, 0); break;
      case 2: channel.SelectForegroundClient(window, step & 8 ? window : 0); break;
      case 3:
        counter.AdvanceMs(step);
        timer.Fire();
        break;
      case 4: windows.CloseWindow(window); break;
      default:
        windows.underCursor = window;
        channel.PublishPacket(p);
        break;
    }
    if (channel.Publishing()) {
      // What the channel stores itself is always a ring index.
      const TSharedBlock block(objects.bytes.data(), objects.bytes.size());
      if ((step & 7) >= 5 && block.Head() >= tabshare::kSlots) std::abort();
    }
  }
  channel.Close();
  if (channel.Clients().Count() > TClientTable::kUsable) std::abort();
  return 0;
}
