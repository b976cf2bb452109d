#include "keys/win32/Win32EndpointVolume.h"

#include <windows.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

namespace pen::win32 {

namespace {

const CLSID kMMDeviceEnumerator = {0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
const IID kIMMDeviceEnumerator = {0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
const IID kIAudioEndpointVolume = {0x5CDF2C82, 0x841E, 0x4546, {0x97, 0x22, 0x0C, 0xF7, 0x40, 0x78, 0x22, 0x9A}};
// In-process server and handler, local server.
constexpr DWORD kClassContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

template <class T>
void Release(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

}  // namespace

Win32EndpointVolume::~Win32EndpointVolume() {
  Release(volume_);
  Release(device_);
  Release(candidate_);
  Release(enumerator_);
  if (comStarted_) CoUninitialize();
}

bool Win32EndpointVolume::CreateEnumerator() {
  // Called on the volume worker's own thread, which nothing else puts in an
  // apartment. Tried again while no output exists: COM is entered once.
  if (!comStarted_) comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
  if (enumerator_) return true;
  void* p = nullptr;
  if (FAILED(CoCreateInstance(kMMDeviceEnumerator, nullptr, kClassContext, kIMMDeviceEnumerator, &p)) || !p)
    return false;
  enumerator_ = static_cast<IMMDeviceEnumerator*>(p);
  return true;
}

bool Win32EndpointVolume::EnumerateActiveEndpoints() {
  if (!enumerator_) return false;
  IMMDeviceCollection* collection = nullptr;
  const HRESULT hr = enumerator_->EnumAudioEndpoints(eAll, DEVICE_STATE_ACTIVE, &collection);
  Release(collection);
  return SUCCEEDED(hr);
}

bool Win32EndpointVolume::GetDefaultRenderEndpoint() {
  Release(candidate_);
  return enumerator_ && SUCCEEDED(enumerator_->GetDefaultAudioEndpoint(eRender, eMultimedia, &candidate_)) &&
         candidate_;
}

bool Win32EndpointVolume::ActivateEndpointVolume() {
  if (!candidate_) return false;
  void* p = nullptr;
  if (FAILED(candidate_->Activate(kIAudioEndpointVolume, kClassContext, nullptr, &p)) || !p) {
    Release(candidate_);
    return false;
  }
  Release(volume_);
  Release(device_);
  volume_ = static_cast<IAudioEndpointVolume*>(p);
  device_ = candidate_;
  candidate_ = nullptr;
  return true;
}

bool Win32EndpointVolume::GetMute(bool& muted) {
  BOOL value = FALSE;
  if (!volume_ || FAILED(volume_->GetMute(&value))) return false;
  muted = value != FALSE;
  return true;
}

bool Win32EndpointVolume::GetLevel(float& level) {
  return volume_ && SUCCEEDED(volume_->GetMasterVolumeLevelScalar(&level));
}

bool Win32EndpointVolume::SetLevel(float level) {
  return volume_ && SUCCEEDED(volume_->SetMasterVolumeLevelScalar(level, nullptr));
}

bool Win32EndpointVolume::SetMute(bool muted) { return volume_ && SUCCEEDED(volume_->SetMute(muted, nullptr)); }

bool Win32EndpointVolume::StepUp() { return volume_ && SUCCEEDED(volume_->VolumeStepUp(nullptr)); }

bool Win32EndpointVolume::StepDown() { return volume_ && SUCCEEDED(volume_->VolumeStepDown(nullptr)); }

}  // namespace pen::win32
