#pragma once
#include <string>

#include "common/AppFolders.h"

namespace pen::win32 {

// The executable's folder, and "penhost" inside the user's roaming
// application data folder.
class Win32AppFolders : public IAppFolders {
 public:
  std::string ProgramFolder() override;
  std::string UserFolder() override;
};

}  // namespace pen::win32
