#pragma once
#include <string>

#include "mac/ConfigFolder.h"

namespace penmac::linux_layer {

// The configuration files in one folder: by default $XDG_CONFIG_HOME/penmac,
// or ~/.config/penmac when that variable is unset or not an absolute path.
class XdgConfigFolder : public IConfigFolder {
 public:
  // Files bigger than this are not configuration files of ours; reading one
  // fails instead of filling the memory.
  static constexpr size_t kMaxFileSize = 16u << 20;

  explicit XdgConfigFolder(std::string folder);

  // The folder the environment asks for; empty when neither variable helps.
  static std::string DefaultFolder();

  const std::string& Folder() const { return folder_; }

  FileResult Read(std::string_view name, std::string& contents) override;
  FileResult Write(std::string_view name, std::string_view contents) override;
  FileResult MoveAside(std::string_view name, std::string_view backupName) override;

 private:
  std::string PathOf(std::string_view name) const;
  // The file a name stands for: the target of a symbolic link, else itself.
  static std::string Resolve(const std::string& path);
  FileResult MakeFolder();

  std::string folder_;
};

}  // namespace penmac::linux_layer
