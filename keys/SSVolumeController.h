#pragma once
#include <cstdint>
#include <memory>

#include "keys/VolControl.h"

namespace pen {

// The waveform mixer calls the mixer back end makes (Win32:
// keys/win32/Win32Mixer): mixer 0, its speaker line's volume control (two
// channels, 0..65535) and mute control.
class IMixerApi {
 public:
  virtual ~IMixerApi() = default;
  virtual bool Open() = 0;
  virtual bool ReadVolume(uint32_t& left, uint32_t& right) = 0;
  virtual bool WriteVolume(uint32_t left, uint32_t right) = 0;
  virtual bool ReadMute(uint32_t& value) = 0;  // 1: muted
  virtual bool WriteMute(uint32_t value) = 0;
};

// Volume through the legacy mixer (Windows before Vista): volume 0..100 and
// balance -100..100 over the two channels, steps of 5.
class TssVolumeController final : public IVolumeControl {
 public:
  static constexpr int32_t kStep = 5;

  explicit TssVolumeController(std::unique_ptr<IMixerApi> api);

  void VolumeUp() override;
  void VolumeDown() override;
  void ToggleMute() override;

  // Reading Volume or Balance always reads the mixer.
  int32_t Volume();
  int32_t Balance();
  bool Mute();
  // Out-of-range values are ignored. Each writes with the other's cached value.
  void SetVolume(int32_t volume);
  void SetBalance(int32_t balance);
  void SetMute(bool muted);

 private:
  void ReadLevels(int32_t& volume, int32_t& balance);
  void WriteLevels();

  std::unique_ptr<IMixerApi> api_;
  bool mute_ = false;
  int32_t volume_ = 0;
  int32_t balance_ = 0;
};

}  // namespace pen
