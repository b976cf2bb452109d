#include "keys/win32/Win32AudioSystem.h"

#include "common/win32/WindowsVersion.h"
#include "keys/win32/Win32EndpointVolume.h"
#include "keys/win32/Win32Mixer.h"

namespace pen::win32 {

int Win32AudioSystem::WindowsMajorVersion() { return win32::WindowsMajorVersion(); }

std::unique_ptr<IEndpointVolumeApi> Win32AudioSystem::EndpointApi() { return std::make_unique<Win32EndpointVolume>(); }

std::unique_ptr<IMixerApi> Win32AudioSystem::MixerApi() { return std::make_unique<Win32Mixer>(); }

}  // namespace pen::win32
