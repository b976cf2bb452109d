#include "common/PortableIniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "common/PortableIniFileSystem.h"

namespace pen {
namespace {

namespace fs = std::filesystem;

class PortableIniFileTest : public ::testing::Test {
 protected:
  PortableIniFileTest() {
    std::random_device random;
    root = fs::temp_directory_path() / ("pen-ini-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(root);
  }
  ~PortableIniFileTest() override {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  std::string Name(const char* title) const { return (root / title).string(); }
  static std::string Contents(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  fs::path root;
};

TEST_F(PortableIniFileTest, AMissingFileReadsDefaultsAndIsCreatedByTheFirstWrite) {
  PortableIniFile ini(Name("a.ini"));
  EXPECT_FALSE(ini.Exists());
  EXPECT_EQ(ini.ReadInteger("S", "k", 33), 33);
  ASSERT_TRUE(ini.WriteInteger("S", "k", -4));
  EXPECT_TRUE(ini.Exists());
  EXPECT_EQ(Contents(Name("a.ini")), "[S]\r\nk=-4\r\n");
  EXPECT_EQ(ini.ReadInteger("s", "K", 33), -4);
}

TEST_F(PortableIniFileTest, AFolderInPlaceOfTheFileIsNeitherReadNorReplaced) {
  fs::create_directory(Name("dir.ini"));
  PortableIniFile ini(Name("dir.ini"));
  EXPECT_FALSE(ini.Exists());
  EXPECT_EQ(ini.ReadInteger("S", "k", 5), 5);
  EXPECT_FALSE(ini.WriteInteger("S", "k", 1));
  EXPECT_TRUE(fs::is_directory(Name("dir.ini")));
}

TEST_F(PortableIniFileTest, AFailedWriteLeavesTheOldFileWhole) {
  PortableIniFile ini(Name("c.ini"));
  ASSERT_TRUE(ini.WriteWholeFile("[S]\nk=1\n"));
  // The replacement cannot be prepared: its place is taken by a folder.
  fs::create_directory(Name("c.ini.new"));
  EXPECT_FALSE(ini.WriteInteger("S", "k", 2));
  EXPECT_FALSE(ini.WriteWholeFile(""));
  EXPECT_EQ(Contents(Name("c.ini")), "[S]\nk=1\n");
}

TEST_F(PortableIniFileTest, FoldersAreMadeOneLevelAtATime) {
  PortableIniFileSystem files;
  EXPECT_TRUE(files.MakeFolder(Name("new")));
  EXPECT_TRUE(files.MakeFolder(Name("new")));  // already there
  EXPECT_FALSE(files.MakeFolder((root / "x" / "y").string()));
  std::ofstream(Name("plain")) << "file";
  EXPECT_FALSE(files.MakeFolder(Name("plain")));
}

}  // namespace
}  // namespace pen
