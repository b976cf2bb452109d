// The settings scenarios against the Windows private-profile back end.
#include "common/win32/Win32IniFileSystem.h"
#include "tests/service/SettingFileScenarios.h"

namespace pen::test {
namespace {

struct Win32Backend {
  static std::unique_ptr<IIniFileSystem> Make() { return std::make_unique<win32::Win32IniFileSystem>(); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(SettingsOnWin32Ini, SettingFileScenario, Win32Backend);

}  // namespace
}  // namespace pen::test
