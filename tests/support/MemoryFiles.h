#pragma once
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/AppFolders.h"
#include "common/DataFiles.h"
#include "common/IniFile.h"
#include "common/IniText.h"
#include "common/IniValue.h"

namespace pen::test {

// Files kept in memory, with the INI rules of the real back ends. Writes to
// names under `readOnly` fail as a protected folder's would.
class MemoryFileStore {
 public:
  std::map<std::string, std::string> files;
  std::string readOnly;  // empty: everything writable

  bool Writable(const std::string& name) const {
    return readOnly.empty() || name.compare(0, readOnly.size(), readOnly) != 0;
  }
};

class MemoryIniFileSystem : public IIniFileSystem {
 public:
  explicit MemoryIniFileSystem(MemoryFileStore& store) : store_(store) {}

  std::unique_ptr<IIniFile> Open(const std::string& fileName) override {
    return std::make_unique<File>(store_, fileName);
  }
  bool MakeFolder(const std::string& folder) override { return store_.Writable(folder); }

 private:
  class File : public IIniFile {
   public:
    File(MemoryFileStore& store, std::string name) : store_(store), name_(std::move(name)) {}
    const std::string& FileName() const override { return name_; }
    bool Exists() const override { return store_.files.count(name_) != 0; }
    bool WriteWholeFile(std::string_view text) override {
      if (!store_.Writable(name_)) return false;
      store_.files[name_] = std::string(text);
      return true;
    }
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const override {
      const auto it = store_.files.find(name_);
      if (it == store_.files.end()) return defaultValue;
      const auto value = FindIniValue(it->second, section, key);
      return value ? ParseIniInteger(*value).value_or(defaultValue) : defaultValue;
    }
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const override {
      const auto it = store_.files.find(name_);
      if (it == store_.files.end()) return std::string(defaultValue);
      return std::string(FindIniValue(it->second, section, key).value_or(defaultValue));
    }
    bool WriteInteger(std::string_view section, std::string_view key, int32_t value) override {
      if (!store_.Writable(name_)) return false;
      std::string& text = store_.files[name_];
      text = SetIniValue(text, section, key, std::to_string(value));
      return true;
    }

   private:
    MemoryFileStore& store_;
    std::string name_;
  };

  MemoryFileStore& store_;
};

class MemoryDataFiles : public IDataFiles {
 public:
  explicit MemoryDataFiles(MemoryFileStore& store) : store_(store) {}
  std::vector<std::string> unreadable;  // names that exist but cannot be read

  bool Exists(const std::string& name) override { return store_.files.count(name) != 0; }
  std::optional<size_t> Read(const std::string& name, uint8_t* out, size_t capacity) override {
    const auto it = store_.files.find(name);
    if (it == store_.files.end() || std::find(unreadable.begin(), unreadable.end(), name) != unreadable.end())
      return std::nullopt;
    std::memcpy(out, it->second.data(), std::min(capacity, it->second.size()));
    return it->second.size();
  }
  bool Replace(const std::string& name, const uint8_t* data, size_t size) override {
    if (!store_.Writable(name)) return false;
    store_.files[name] = std::string(reinterpret_cast<const char*>(data), size);
    return true;
  }
  bool Remove(const std::string& name) override {
    if (!store_.Writable(name)) return store_.files.count(name) == 0;
    store_.files.erase(name);
    return true;
  }
  bool MakeFolder(const std::string& folder) override { return store_.Writable(folder); }

 private:
  MemoryFileStore& store_;
};

class FixedFolders : public IAppFolders {
 public:
  std::string program = "/prog/";
  std::string user = "/user/";
  std::string ProgramFolder() override { return program; }
  std::string UserFolder() override { return user; }
};

}  // namespace pen::test
