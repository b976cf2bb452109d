#include "keys/win32/Win32Mixer.h"

#include <windows.h>
#include <mmsystem.h>

#include <vector>

namespace pen::win32 {

Win32Mixer::~Win32Mixer() {
  if (mixer_) mixerClose(reinterpret_cast<HMIXER>(mixer_));
}

bool Win32Mixer::Open() {
  HMIXER mixer = nullptr;
  if (mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR || !mixer) return false;
  mixer_ = reinterpret_cast<uintptr_t>(mixer);
  MIXERLINEA line{};
  line.cbStruct = sizeof line;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &line,
                        MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR ||
      line.cControls == 0)
    return false;
  std::vector<MIXERCONTROLA> controls(line.cControls);
  MIXERLINECONTROLSA request{};
  request.cbStruct = sizeof request;
  request.dwLineID = line.dwLineID;
  request.cControls = line.cControls;
  request.cbmxctrl = sizeof(MIXERCONTROLA);
  request.pamxctrl = controls.data();
  if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer), &request,
                            MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) != MMSYSERR_NOERROR)
    return false;
  for (const MIXERCONTROLA& c : controls) {
    if (c.dwControlType == MIXERCONTROL_CONTROLTYPE_VOLUME && !haveVolume_) {
      haveVolume_ = true;
      volumeControl_ = c.dwControlID;
    } else if (c.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE && !haveMute_) {
      haveMute_ = true;
      muteControl_ = c.dwControlID;
    }
  }
  return haveVolume_ || haveMute_;
}

bool Win32Mixer::Details(uint32_t control, uint32_t channels, uint32_t* values, bool write) {
  if (!mixer_) return false;
  MIXERCONTROLDETAILS_UNSIGNED data[2]{};
  for (uint32_t i = 0; i < channels; ++i) data[i].dwValue = values[i];
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof details;
  details.dwControlID = control;
  details.cChannels = channels;
  details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
  details.paDetails = data;
  const HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(mixer_);
  const MMRESULT r = write ? mixerSetControlDetails(object, &details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE)
                           : mixerGetControlDetailsA(object, &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
  if (r != MMSYSERR_NOERROR) return false;
  for (uint32_t i = 0; i < channels; ++i) values[i] = data[i].dwValue;
  return true;
}

bool Win32Mixer::ReadVolume(uint32_t& left, uint32_t& right) {
  uint32_t v[2] = {0, 0};
  if (!haveVolume_ || !Details(volumeControl_, 2, v, false)) return false;
  left = v[0];
  right = v[1];
  return true;
}

bool Win32Mixer::WriteVolume(uint32_t left, uint32_t right) {
  uint32_t v[2] = {left, right};
  return haveVolume_ && Details(volumeControl_, 2, v, true);
}

bool Win32Mixer::ReadMute(uint32_t& value) {
  uint32_t v[1] = {0};
  if (!haveMute_ || !Details(muteControl_, 1, v, false)) return false;
  value = v[0];
  return true;
}

bool Win32Mixer::WriteMute(uint32_t value) {
  uint32_t v[1] = {value};
  return haveMute_ && Details(muteControl_, 1, v, true);
}

}  // namespace pen::win32
