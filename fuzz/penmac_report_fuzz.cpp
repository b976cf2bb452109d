// Arbitrary reports and timer ticks through penmac's model, with key
// definitions and key setup. Input: the first byte chooses firmware,
// rotation, key setup and the screen rectangle; then a run of items, each a
// length byte and that many report bytes (length 0 is one timer tick).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "mac/MacFakes.h"

namespace {

using namespace penmac;

// Pressure and tilt of every pointer event stay in their ranges.
class CheckingPoster : public IEventPoster {
 public:
  void Post(const EventRecord& r) override {
    if (const auto p = r.Double(event_field::kTabletPressure); p && !(*p >= 0 && *p <= 1)) std::abort();
    for (int field : {event_field::kTabletTiltX, event_field::kTabletTiltY}) {
      if (const auto t = r.Double(field); t && !(*t >= -1 && *t <= 1)) std::abort();
    }
    ++count;
  }
  size_t count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t settings = data[0];
  test::FakeHidManager hid;
  test::CountingWaker waker;
  NotificationCenter center(waker);
  test::FakeRunLoop loop;
  CheckingPoster poster;
  ScreenLayout screens = test::OneScreen();
  test::MemoryFolder files;
  test::RecordingAlerts alerts;
  USBDelegate delegate(USBDelegatePorts{hid, center, loop, poster, screens, files, alerts});
  delegate.version = (settings & 1) ? 0x2201 : 0x2200;
  static const char* const kRotations[] = {"0º", "90º", "180º", "270º"};
  delegate.screenConfig.Rotation = kRotations[(settings >> 1) & 3];
  delegate.keySetup = (settings & 8) != 0;
  delegate.screenConfig.Rect = (settings & 16) ? Rect{{-1e6, 1e6}, {0, -3}} : Rect{{0, 0}, {1920, 1080}};
  delegate.keyDefs[0x0001] = KeyDef{"∙F5⌘", "L+"};
  delegate.keyDefs[0x0003] = KeyDef{"A!∙F10", "RM-"};
  delegate.keyDefs[0x1000] = KeyDef{"", "R"};

  size_t i = 1;
  while (i < size) {
    const size_t length = data[i++];
    if (length == 0) {
      delegate.TimerTick();
      continue;
    }
    const size_t n = length < size - i ? length : size - i;
    Notification note{HIDDeviceDataReceived, DataEntry{}};
    std::get<DataEntry>(note.object).data.Assign(data + i, n);
    delegate.onData(note);
    i += n;
  }
  delegate.TimerTick();
  delegate.TimerTick();
  if (delegate.isProximity) std::abort();  // two quiet ticks always end proximity
  return 0;
}
