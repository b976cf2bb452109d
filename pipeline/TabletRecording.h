#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pen {

// The tablet's two HID collections as the recording names them.
enum class TabletInterface : uint8_t { A, B };

// What the tablet says about itself.
struct TabletIdentity {
  uint16_t version = 0x2201;
  std::string product = "[R711]Pen Tablet";
  bool operator==(const TabletIdentity&) const = default;
};

// One line of a pen session: after `delayMs` (from the previous step) an
// input report arrives, or the tablet is plugged or unplugged, or nothing
// happens (a pause).
struct SessionStep {
  static constexpr size_t kMaxReport = 64;
  enum class Kind : uint8_t { Report, Plug, Unplug, Wait };
  uint32_t delayMs = 0;
  Kind kind = Kind::Wait;
  TabletInterface iface = TabletInterface::B;
  uint8_t size = 0;  // report bytes including the report ID
  std::array<uint8_t, kMaxReport> bytes{};
  bool operator==(const SessionStep&) const = default;
};

// A recorded or scripted pen session in the readable text format of
// docs/recording-format.md.
class TTabletRecording {
 public:
  TabletIdentity identity;
  bool startUnplugged = false;
  std::vector<SessionStep> steps;

  // Replaces this recording with the text's. On a bad line returns false,
  // leaves this recording unchanged and sets `error` to
  // "line N: what is wrong".
  bool Parse(std::string_view text, std::string& error);
  bool LoadFile(const std::string& path, std::string& error);
  // The text form; Parse(Format()) gives the same recording back.
  std::string Format() const;
  bool SaveFile(const std::string& path) const;

  // Builders used by the capture tool and the demonstration session.
  void AddReport(uint32_t delayMs, TabletInterface iface, const uint8_t* data, size_t size);
  void AddPlug(uint32_t delayMs);
  void AddUnplug(uint32_t delayMs);
  void AddWait(uint32_t delayMs);
  // Sum of all delays.
  uint64_t DurationMs() const;
};

}  // namespace pen
