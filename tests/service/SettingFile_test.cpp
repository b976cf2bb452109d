// The settings scenarios against the portable INI back end.
#include "common/PortableIniFileSystem.h"
#include "tests/service/SettingFileScenarios.h"

namespace pen::test {
namespace {

struct PortableBackend {
  static std::unique_ptr<IIniFileSystem> Make() { return std::make_unique<PortableIniFileSystem>(); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(SettingsOnPortableIni, SettingFileScenario, PortableBackend);

}  // namespace
}  // namespace pen::test
