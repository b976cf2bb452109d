// Arbitrary bytes as penmac's screen file and keys file: either rejected, or
// read into a configuration that is written back and read again unchanged.
// Key strings from the file then go through the key posting and the Linux
// translation.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mac/ConfigCoding.h"
#include "mac/EventPosting.h"
#include "mac/RecordingPoster.h"
#include "mac/linux/LinuxEventPoster.h"

namespace {

using namespace penmac;

class NullInput : public linux_layer::IVirtualInput {
 public:
  void Emit(linux_layer::VirtualDevice, uint16_t, uint16_t, int32_t) override {}
  void Sync(linux_layer::VirtualDevice) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  if (const auto screen = DecodeScreenConfig(text)) {
    const std::string written = EncodeScreenConfig(*screen);
    const auto again = DecodeScreenConfig(written);
    if (!again || !(*again == *screen) || EncodeScreenConfig(*again) != written) std::abort();
  }

  if (const auto keys = DecodeKeyDefs(text)) {
    const std::string written = EncodeKeyDefs(*keys);
    const auto again = DecodeKeyDefs(written);
    if (!again || EncodeKeyDefs(*again) != written) std::abort();
    RecordingPoster recorder;
    NullInput input;
    linux_layer::LinuxEventPoster linuxPoster(input, linux_layer::PenAxes{Rect{{0, 0}, {1920, 1080}}});
    for (const auto& [mask, def] : *again) {
      for (IEventPoster* poster : {static_cast<IEventPoster*>(&recorder), static_cast<IEventPoster*>(&linuxPoster)}) {
        for (bool down : {true, false}) {
          PostKey(*poster, def.key, down);
          PostMouse(*poster, def.mouse, Point{}, down ? 1.0 : 0.0, Point{}, down);
        }
      }
    }
  }
  return 0;
}
