#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/AppFolders.h"
#include "common/IniFile.h"

namespace pen::test {

// Folders chosen by the test instead of the running executable and user.
class FakeAppFolders : public IAppFolders {
 public:
  std::string program;
  std::string user;

  std::string ProgramFolder() override { return program; }
  std::string UserFolder() override { return user; }
};

// A real back end whose writes to files under `failUnder` fail as a full
// disk or a locked-down folder would, and which records every write.
class FaultyIniFileSystem : public IIniFileSystem {
 public:
  struct Write {
    std::string file, section, key;
    int32_t value;
  };

  explicit FaultyIniFileSystem(IIniFileSystem& real) : FReal(real) {}

  std::string failUnder;  // empty: nothing fails
  std::vector<Write> writes;

  std::unique_ptr<IIniFile> Open(const std::string& fileName) override {
    return std::make_unique<File>(*this, FReal.Open(fileName));
  }
  bool MakeFolder(const std::string& folder) override {
    return !Fails(folder) && FReal.MakeFolder(folder);
  }

 private:
  bool Fails(const std::string& name) const {
    return !failUnder.empty() && name.compare(0, failUnder.size(), failUnder) == 0;
  }

  class File : public IIniFile {
   public:
    File(FaultyIniFileSystem& owner, std::unique_ptr<IIniFile> real)
        : FOwner(owner), FReal(std::move(real)) {}
    const std::string& FileName() const override { return FReal->FileName(); }
    bool Exists() const override { return FReal->Exists(); }
    bool WriteWholeFile(std::string_view text) override {
      return !FOwner.Fails(FileName()) && FReal->WriteWholeFile(text);
    }
    int32_t ReadInteger(std::string_view section, std::string_view key,
                        int32_t defaultValue) const override {
      return FReal->ReadInteger(section, key, defaultValue);
    }
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const override {
      return FReal->ReadString(section, key, defaultValue);
    }
    bool WriteInteger(std::string_view section, std::string_view key, int32_t value) override {
      FOwner.writes.push_back({FileName(), std::string(section), std::string(key), value});
      return !FOwner.Fails(FileName()) && FReal->WriteInteger(section, key, value);
    }

   private:
    FaultyIniFileSystem& FOwner;
    std::unique_ptr<IIniFile> FReal;
  };

  IIniFileSystem& FReal;
};

}  // namespace pen::test
