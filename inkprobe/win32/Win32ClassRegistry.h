#pragma once
#include "inkprobe/SystemPorts.h"

namespace pen::win32 {

// COM program-id lookup and read-only access to HKEY_CLASSES_ROOT.
class TWin32ClassRegistry : public IClassRegistry {
 public:
  bool ProgIdRegistered(const char* progId) override;
  bool ReadClassesRootDefault(const char* subKey, std::string& value) override;
};

}  // namespace pen::win32
