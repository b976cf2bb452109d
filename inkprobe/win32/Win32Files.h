#pragma once
#include "inkprobe/SystemPorts.h"

namespace pen::win32 {

class TWin32Files : public IFilePort {
 public:
  bool FileExists(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
};

}  // namespace pen::win32
