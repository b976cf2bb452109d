#pragma once
#include <cstdint>

#include "keys/SSVolumeController.h"

namespace pen::win32 {

// The waveform mixer calls of the mixer back end: mixer device 0, the
// speaker line's volume and mute controls.
class Win32Mixer : public IMixerApi {
 public:
  Win32Mixer() = default;
  ~Win32Mixer() override;
  Win32Mixer(const Win32Mixer&) = delete;
  Win32Mixer& operator=(const Win32Mixer&) = delete;

  bool Open() override;
  bool ReadVolume(uint32_t& left, uint32_t& right) override;
  bool WriteVolume(uint32_t left, uint32_t right) override;
  bool ReadMute(uint32_t& value) override;
  bool WriteMute(uint32_t value) override;

 private:
  bool Details(uint32_t control, uint32_t channels, uint32_t* values, bool write);

  uintptr_t mixer_ = 0;  // HMIXER
  bool haveVolume_ = false;
  bool haveMute_ = false;
  uint32_t volumeControl_ = 0;  // control IDs
  uint32_t muteControl_ = 0;
};

}  // namespace pen::win32
