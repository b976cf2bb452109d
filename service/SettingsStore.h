#pragma once
#include <cstdint>

namespace pen {

// A settings rectangle in 0..4095 units: left, top, right, bottom.
struct MapRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 4095;
  int32_t bottom = 4095;
  friend bool operator==(const MapRect&, const MapRect&) = default;
};

struct HostSettings {
  int32_t inkMode = 1;
  MapRect screen;
  MapRect tablet;
  int32_t leftHandMode = 0;
  int32_t smoothness = 0;
};

// The persistent pen settings: the host edits the values in place, validates
// them and writes them back only when the user applies the settings.
class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;
  virtual HostSettings& Values() = 0;
  virtual void Validate() = 0;
  virtual void Write() = 0;
};

}  // namespace pen
